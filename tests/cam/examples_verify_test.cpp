// Every example project's program verifies clean against its project. An example with a kind
// of machining this version does not make yet cannot be compiled; it is skipped with the
// compiler's message, and verified as soon as its generators are there.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cam_support.h"
#include "support_verify.h"

namespace korvel {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Examples() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(std::string(KORVEL_SOURCE_DIR) + "/examples"))
        if (entry.path().extension() == ".kvp")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ExampleVerify : public test::CamTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(ExampleVerify, ItsProgramMakesThePart) {
    std::string path = std::string(KORVEL_SOURCE_DIR) + "/examples/" + GetParam() + ".kvp";
    ASSERT_EQ(Open(path), 1);
    int result = 0;
    std::string program = Compile(&result);
    std::vector<std::string> shown = Messages();
    if (result == 0) {
        ASSERT_FALSE(shown.empty());
        ASSERT_NE(shown.back().find("is not machined by this version"), std::string::npos)
            << shown.back();
        GTEST_SKIP() << shown.back();
    }
    EXPECT_TRUE(test::VerifiesClean(program)) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleVerify, ::testing::ValuesIn(Examples()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
} // namespace korvel
