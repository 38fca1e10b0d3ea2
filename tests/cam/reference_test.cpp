// Reference G-code: every folder tests/cam/<case>/ holds a project (input.kvp) and the program
// it must compile to (expected.cnc), byte for byte, with the tools-and-time report
// (expected-report.txt). A case may bring its own korvel.cfg (an inch set-up, say) with the font
// files (*.fnt) it names. Every program must also pass LinuxCNC's
// interpreter; that interpreter has no G44 and no M88/M89, so a program that uses them
// (toolchange-manual-g44) is given to it with G43 in place of G44 and without M88/M89
// (support_rs274.h).
//
// Every program is also verified against its project (support_verify.h): it must be clean, or,
// where the case leaves material on purpose, show exactly the problems listed in the
// case's expected-verify.txt, one start of a report line each (lines starting with # say why).
//
// KORVEL_UPDATE_REFERENCE=1 writes the expected files from what the compiler makes, for a
// new or changed case; review every number in them before committing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cam/compile.h"
#include "cam_support.h"
#include "support_rs274.h"
#include "support_verify.h"

namespace korvel {
namespace {

namespace fs = std::filesystem;

std::string CasesDir() { return std::string(KORVEL_SOURCE_DIR) + "/tests/cam"; }

std::vector<std::string> Cases() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(CasesDir()))
        if (fs::exists(entry.path() / "input.kvp"))
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Trimmed(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == ' '))
        s.pop_back();
    return s;
}

class Reference : public test::CamTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(Reference, CompilesToTheExpectedProgram) {
    fs::path dir = fs::path(CasesDir()) / GetParam();
    if (fs::exists(dir / "korvel.cfg")) {
        // The case's own font files go beside its configuration, where FONT looks for them.
        fs::create_directories(ScratchDir() + "/home");
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.path().extension() == ".fnt")
                fs::copy_file(entry.path(),
                              ScratchDir() + "/home/" + entry.path().filename().string(),
                              fs::copy_options::overwrite_existing);
        StartWithConfig(test::Slurp((dir / "korvel.cfg").string()));
    }
    ASSERT_EQ(Open((dir / "input.kvp").string()), 1);
    ASSERT_EQ(Messages(), std::vector<std::string>());
    int result = 0;
    std::string program = Compile(&result);
    std::vector<std::string> shown;
    for (const std::string& m : Messages())
        if (m.rfind("[DebugDrillsList(", 0) != 0) // the drill table pages of COMMENTS DEBUG
            shown.push_back(m);
    ASSERT_EQ(result, 1) << (shown.empty() ? "" : shown.back());
    // The only other message of a successful run is the report.
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "[Compilation completed succesfully] " + ReportText());
    if (const char* update = std::getenv("KORVEL_UPDATE_REFERENCE"); update && *update == '1') {
        std::ofstream((dir / "expected.cnc").string(), std::ios::binary) << program;
        std::ofstream((dir / "expected-report.txt").string(), std::ios::binary)
            << ReportText() << "\n";
    }
    EXPECT_EQ(program, test::Slurp((dir / "expected.cnc").string()));
    EXPECT_EQ(ReportText(), Trimmed(test::Slurp((dir / "expected-report.txt").string())));
    test::ExpectMachineAccepts(program, GetParam());
    std::vector<std::string> problems;
    std::istringstream expected(test::Slurp((dir / "expected-verify.txt").string()));
    for (std::string line; std::getline(expected, line);)
        if (!line.empty() && line[0] != '#')
            problems.push_back(line);
    EXPECT_TRUE(test::VerifiesWith(program, problems)) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Cases, Reference, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
} // namespace korvel
