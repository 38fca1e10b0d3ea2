#include "support_verify.h"

#include "model/heights.h"
#include "model/settings.h"
#include "script/project.h"

namespace korvel::test {

namespace {

bool Run(const std::string& program, const VerifyOptions& options, VerifyResult& result,
         std::string& report) {
    if (!VerifyProgram(program, options, result)) {
        report = "the verification could not run";
        return false;
    }
    report = VerifyReport(result, "under test");
    return true;
}

} // namespace

::testing::AssertionResult VerifiesClean(const std::string& program, const VerifyOptions& options) {
    VerifyResult result;
    std::string report;
    if (Run(program, options, result, report) && result.clean)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the program does not verify clean:\n" << report;
}

::testing::AssertionResult VerifiesWith(const std::string& program,
                                        const std::vector<std::string>& problem_starts,
                                        const VerifyOptions& options) {
    VerifyResult result;
    std::string report;
    if (!Run(program, options, result, report))
        return ::testing::AssertionFailure() << report;
    bool same = result.problems.size() == problem_starts.size();
    for (std::size_t i = 0; same && i < problem_starts.size(); ++i)
        same = result.problems[i].starts_with(problem_starts[i]);
    if (same)
        return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    failure << "expected the problems\n";
    for (const std::string& p : problem_starts)
        failure << "  " << p << "...\n";
    return failure << "but the verification says:\n" << report;
}

std::vector<std::string> VerifyProblemsOf(const std::string& program,
                                          const VerifyOptions& options) {
    VerifyResult result;
    std::string report;
    if (!Run(program, options, result, report))
        return {report};
    return result.problems;
}

bool OpenProjectForVerify(const std::string& project_path) {
    LoadCfgValues();
    int opened = OpenProject(project_path);
    RecalcZ();
    return opened != 0;
}

void ExpectVerifyClean(const std::string& program) { EXPECT_TRUE(VerifiesClean(program)); }

void ExpectVerifyClean(const std::string& project_path, const std::string& program) {
    ASSERT_TRUE(OpenProjectForVerify(project_path)) << project_path;
    EXPECT_TRUE(VerifiesClean(program)) << "project " << project_path;
}

} // namespace korvel::test
