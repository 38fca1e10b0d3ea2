// Verification in tests: every test that makes or holds G-code can assert that the program
// cuts the part its project describes, or that it shows exactly the problems expected.
//
//   EXPECT_TRUE(VerifiesClean(program));                       // the project in memory
//   ExpectVerifyClean(KORVEL_SOURCE_DIR "/examples/x.kvp", program);
//   EXPECT_TRUE(VerifiesWith(program, {"Gouge: Drill 2 is cut 0.2"}));
//
// A failure prints the whole verification report.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cam/verify.h"

namespace korvel::test {

// The program verifies clean on the project in memory (heights are recomputed first).
::testing::AssertionResult VerifiesClean(const std::string& program,
                                         const VerifyOptions& options = {});

// The verification finds exactly these problems, in this order, each given by the start of its
// report line.
::testing::AssertionResult VerifiesWith(const std::string& program,
                                        const std::vector<std::string>& problem_starts,
                                        const VerifyOptions& options = {});

// The problem lines of a verification (empty when clean; one line saying why when it could
// not run).
std::vector<std::string> VerifyProblemsOf(const std::string& program,
                                          const VerifyOptions& options = {});

// Opens a project file as korvelc does; false when it cannot be read.
bool OpenProjectForVerify(const std::string& project_path);

void ExpectVerifyClean(const std::string& program);
void ExpectVerifyClean(const std::string& project_path, const std::string& program);

} // namespace korvel::test
