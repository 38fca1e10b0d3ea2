// Shared test fixture: a fresh world for each test, messages recorded instead of printed,
// and helpers to type lines and write scratch files.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace korvel::test {

class KorvelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The table slot of an object; -1 when the ID is not registered.
    static int IndexOf(int id);
    // Interprets a line as typed into the command line.
    int Type(const std::string& line);
    // Types each line; every one must be accepted.
    void TypeAll(const std::vector<std::string>& lines);
    // An object's lines as the project file holds them.
    static std::string LinesOf(int id);
    // The messages shown since the last call, as "[caption] text".
    std::vector<std::string> Messages();
    // A program directory in the scratch folder with the smallest data a start-up accepts
    // (korvel.cfg, threads.dat, amg.dat); "" is the scratch folder itself. Returns its path.
    std::string MakeHome(const std::string& name);
    // A file in this test's scratch folder; returns its path.
    std::string WriteFile(const std::string& name, const std::string& content);
    std::string ScratchDir() const { return dir_; }

private:
    std::string dir_;
};

// Changes the current directory for a scope (DB_ERR.TXT is written there).
class ScopedChdir {
public:
    explicit ScopedChdir(const std::string& dir);
    ~ScopedChdir();

private:
    std::string previous_;
};

// A whole file's bytes ("" for a file that cannot be read).
std::string Slurp(const std::string& path);

// Runs a command line, capturing stdout and stderr; returns the exit status.
int RunCommand(const std::string& command, std::string* out, std::string* err);

} // namespace korvel::test
