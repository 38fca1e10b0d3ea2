#include "cam_support.h"

#include <filesystem>
#include <sstream>

#include "cam/compile.h"
#include "model/heights.h"
#include "model/settings.h"
#include "platform/platform.h"
#include "script/project.h"
#include "ui/startup.h"

namespace korvel::test {

std::string DataDir() { return std::string(KORVEL_SOURCE_DIR) + "/data"; }

void CamTest::SetUp() {
    KorvelTest::SetUp();
    saved_ = Generators();
    FixCurrentTime(kFixedTime);
    SetProgramDirectory(DataDir());
    ASSERT_EQ(StartUp(), StartupResult::kOk);
    Messages();
}

void CamTest::TearDown() {
    InstallGenerators(saved_);
    FixCurrentTime(-1);
    SetGCodeOutputFile("");
    SetStartedProgramsWaited(false);
    KorvelTest::TearDown();
}

void CamTest::StartWithConfig(const std::string& config) {
    std::string home = ScratchDir() + "/home";
    std::filesystem::create_directories(home);
    for (const char* name : {"kvdb.csv", "threads.dat", "amg.dat", "vmc-850.mach"})
        std::filesystem::copy_file(DataDir() + "/" + name, home + "/" + name,
                                   std::filesystem::copy_options::overwrite_existing);
    WriteFile("home/korvel.cfg", config);
    SetProgramDirectory(home);
    ASSERT_EQ(StartUp(), StartupResult::kOk);
    Messages();
}

int CamTest::Open(const std::string& path) {
    LoadCfgValues();
    int result = OpenProject(path);
    RecalcZ();
    return result;
}

int CamTest::OpenText(const std::string& text) { return Open(WriteFile("project.kvp", text)); }

std::string CamTest::Compile(int* result) {
    std::filesystem::remove(OutputPath());
    SetGCodeOutputFile(OutputPath());
    int made = MakeGCode(SaveProject);
    if (result)
        *result = made;
    return std::filesystem::exists(OutputPath()) ? Slurp(OutputPath()) : "";
}

std::vector<std::string> Section(const std::string& program, const std::string& from) {
    std::vector<std::string> lines;
    std::istringstream in(program);
    bool on = false;
    for (std::string line; std::getline(in, line);) {
        if (line.find('(') != std::string::npos && on)
            break;
        if (line.find(from) != std::string::npos)
            on = true;
        else if (on)
            lines.push_back(line);
    }
    return lines;
}

} // namespace korvel::test
