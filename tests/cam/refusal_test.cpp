// Refused runs: every file tests/cam/refusals/<case>.kvp is a project that Make must refuse.
// Its first line is the exact message that says why, as "# [caption] text" (line breaks written
// as \n). Later comment lines may say "# answer: yes" (how questions are answered) or
// "# output: PATH" (where the program would go).
// A refused run leaves the existing program file byte for byte as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cam/compile.h"
#include "cam_support.h"
#include "platform/platform.h"
#include "script/project.h"

namespace korvel {
namespace {

namespace fs = std::filesystem;

std::string RefusalsDir() { return std::string(KORVEL_SOURCE_DIR) + "/tests/cam/refusals"; }

std::vector<std::string> Cases() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(RefusalsDir()))
        if (entry.path().extension() == ".kvp")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct Expectation {
    std::string message; // "[caption] text"
    std::string answer = "no";
    std::string output;
};

std::string Unescaped(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

Expectation Read(const std::string& path) {
    Expectation e;
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    e.message = Unescaped(line.substr(2));
    while (std::getline(in, line) && line.rfind("# ", 0) == 0) {
        std::string rest = line.substr(2);
        std::size_t colon = rest.find(": ");
        if (colon == std::string::npos)
            continue;
        std::string key = rest.substr(0, colon), value = rest.substr(colon + 2);
        if (key == "answer")
            e.answer = value;
        else if (key == "output")
            e.output = value;
    }
    return e;
}

class Refusal : public test::CamTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(Refusal, StopsWithItsMessageAndLeavesTheProgramFile) {
    std::string path = RefusalsDir() + "/" + GetParam() + ".kvp";
    Expectation e = Read(path);
    SetHeadlessAnswer(e.answer == "yes" ? kIdYes : kIdNo);
    ASSERT_EQ(Open(path), 1);
    ASSERT_EQ(Messages(), std::vector<std::string>());
    const std::string previous = "%\nO1 (THE PROGRAM MADE BEFORE)\nM30\n%\n";
    std::string output = e.output.empty() ? OutputPath() : e.output;
    if (e.output.empty())
        WriteFile("out.cnc", previous);
    SetGCodeOutputFile(output);
    EXPECT_EQ(MakeGCode(SaveProject), 0);
    std::vector<std::string> shown = Messages();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), e.message);
    if (e.output.empty()) {
        EXPECT_EQ(test::Slurp(output), previous);
    }
    // The run leaves nothing of its own in the project.
    EXPECT_EQ(ProjectText().find("$999"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Refusals, Refusal, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
} // namespace korvel
