// A fixture for the compiler's tests: the shipped data as program directory (or a home of the
// test's own), a fixed clock for the program header, and compiling a project into the scratch
// folder.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "cam/generators.h"
#include "support.h"

namespace korvel::test {

// The creation time every test program carries: Thu Jan 1 00:00:00 2026 (UTC).
constexpr std::time_t kFixedTime = 1767225600;

class CamTest : public KorvelTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts up again from a program directory holding the shipped data files with this
    // korvel.cfg instead of the shipped one.
    void StartWithConfig(const std::string& config);
    // Opens a project as korvelc does; 1 when it was read without a rejected line.
    int Open(const std::string& path);
    // Opens a project written from text.
    int OpenText(const std::string& text);
    // MakeGCode into the scratch folder's out.cnc; the program text, "" when none was written.
    std::string Compile(int* result = nullptr);
    std::string OutputPath() const { return ScratchDir() + "/out.cnc"; }

private:
    PhaseGenerators saved_;
};

// The lines of a program after the line holding `from` (a comment), up to the next comment.
std::vector<std::string> Section(const std::string& program, const std::string& from);

// The shipped data folder of the source tree.
std::string DataDir();

} // namespace korvel::test
