// korvelc with project files: saving with -o, checking and dumping the examples.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support.h"

namespace korvel {
namespace {

using KorvelcProjectTest = test::KorvelTest;

int Korvelc(const std::string& arguments, std::string* out, std::string* err) {
    return test::RunCommand(std::string(KORVELC_PATH) + " " + arguments, out, err);
}

std::string Example(const std::string& name) {
    return std::string(KORVEL_SOURCE_DIR) + "/examples/" + name;
}

TEST_F(KorvelcProjectTest, ExamplesCheckCleanAndSaveUnchanged) {
    for (const char* name :
         {"drilled-plate.kvp", "flange-plate.kvp", "pocket-plate.kvp", "stepped-boss.kvp"}) {
        SCOPED_TRACE(name);
        std::string out, err;
        EXPECT_EQ(Korvelc("check " + Example(name), &out, &err), 0) << err;
        std::string saved = ScratchDir() + "/saved.kvp";
        ASSERT_EQ(Korvelc("exec -p " + Example(name) + " -o " + saved, &out, &err), 0) << err;
        std::stringstream a, b;
        a << std::ifstream(Example(name)).rdbuf();
        b << std::ifstream(saved).rdbuf();
        EXPECT_EQ(a.str(), b.str());
    }
}

TEST_F(KorvelcProjectTest, DumpOfAnExample) {
    std::string out, err;
    ASSERT_EQ(Korvelc("dump " + Example("stepped-boss.kvp"), &out, &err), 0) << err;
    nlohmann::json model = nlohmann::json::parse(out);
    EXPECT_EQ(model["bulges"].size(), 3u);
    EXPECT_EQ(model["top_level"], 1);
    EXPECT_EQ(model["longholes"].size(), 1u);
    EXPECT_EQ(model["texts"][0]["text"], "KV-1207");
    EXPECT_EQ(model["attached_tools"].size(), 8u);
    EXPECT_EQ(model["attached_tools"][0]["name"], "CENTER DRILL 3.15");
}

TEST_F(KorvelcProjectTest, SavingFailuresFailTheCommand) {
    std::string out, err;
    EXPECT_EQ(
        Korvelc("exec 'BLOCK 1 10 10 10 0 0 -10 0 0 -1' -o /nonexistent/dir/p.kvp", &out, &err), 1);
    EXPECT_EQ(err, "[/nonexistent/dir/p.kvp] Can't open file for writing\n");
    EXPECT_EQ(Korvelc("exec -o", &out, &err), 2);
}

} // namespace
} // namespace korvel
