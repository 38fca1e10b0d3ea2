// Every file in tests/bad/ is a script whose first line, a comment, is the exact message it
// must raise; it must raise that one message and no other. {dir} in the comment stands for the
// folder (which is also the program directory, for INCLUDE) and {file} for the file's path.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "script/interpreter.h"
#include "support.h"
#include "ui/startup.h"

namespace korvel {
namespace {

using BadFiles = test::KorvelTest;

void ReplaceAll(std::string& s, const std::string& from, const std::string& to) {
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
}

TEST_F(BadFiles, EachRaisesTheMessageOfItsFirstLine) {
    std::string dir = std::string(KORVEL_SOURCE_DIR) + "/tests/bad";
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.is_regular_file())
            paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    ASSERT_FALSE(paths.empty());
    SetProgramDirectory(dir);
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        std::string expected;
        std::getline(std::ifstream(path), expected);
        ASSERT_EQ(expected.rfind("# ", 0), 0u) << "first line must be '# <message>'";
        expected.erase(0, 2);
        ReplaceAll(expected, "{dir}", dir);
        ReplaceAll(expected, "{file}", path);
        ReplaceAll(expected, "\\n", "\n");
        InitAllTables();
        ReadScript(path);
        std::vector<ShownMessage> shown = TakeRecordedMessages();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, expected);
    }
}

} // namespace
} // namespace korvel
