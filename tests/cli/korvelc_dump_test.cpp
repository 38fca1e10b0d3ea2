// korvelc's start-up with a configuration, and the model it prints as JSON.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "support.h"

namespace korvel {
namespace {

using nlohmann::json;
using KorvelcDumpTest = test::KorvelTest;

int Korvelc(const std::string& arguments, std::string* out, std::string* err) {
    return test::RunCommand(std::string(KORVELC_PATH) + " " + arguments, out, err);
}

json Dump(const std::string& arguments) {
    std::string out, err;
    EXPECT_EQ(Korvelc(arguments, &out, &err), 0) << err;
    EXPECT_EQ(err, "");
    return json::parse(out);
}

TEST_F(KorvelcDumpTest, StartUpNeedsItsConfiguration) {
    std::string out, err;
    std::string home = ScratchDir() + "/home";
    WriteFile("home/readme", "no configuration here\n");
    EXPECT_EQ(Korvelc("--home " + home + " exec '# x'", &out, &err), 1);
    EXPECT_EQ(err, "korvelc: configuration file " + home + "/korvel.cfg not found\n");

    WriteFile("home/korvel.cfg", "OVERLAP 10\nOVERLAP 100\n");
    EXPECT_EQ(Korvelc("--home " + home + " check /dev/null", &out, &err), 1);
    EXPECT_EQ(err, "[Errors found] Value(s) out of range in file [" + home +
                       "/korvel.cfg], line [2]\n"
                       "korvelc: the last line of configuration file " +
                       home + "/korvel.cfg was rejected\n");
}

TEST_F(KorvelcDumpTest, SettingLinesAreCheckedAsTyped) {
    std::string out, err;
    EXPECT_EQ(Korvelc("exec 'OVERLAP 100'", &out, &err), 1);
    EXPECT_EQ(err, "[Errors found] Value(s) out of range\n");
}

TEST_F(KorvelcDumpTest, DumpShowsConvertedLengthsAndTheBlock) {
    json inch = Dump("exec 'PROJECTUNIT INCH' 'CORRIDOR 1' --dump");
    EXPECT_DOUBLE_EQ(inch["settings"]["CORRIDOR"].get<double>(), 25.4);
    EXPECT_DOUBLE_EQ(inch["machine"]["corridor"].get<double>(), 25.4);

    json block = Dump("exec 'BLOCK 1 100 50 20 0 0 -20 0 0 -1' --dump");
    EXPECT_DOUBLE_EQ(block["block"]["top"].get<double>(), 0.0);
    EXPECT_EQ(block["block"]["material"], "ST37-2");
    EXPECT_EQ(block["objects"], json::parse(R"([{"id":1,"type":3,"index":0}])"));

    json empty = Dump("exec --dump");
    EXPECT_TRUE(empty["block"].is_null());
    EXPECT_EQ(empty["settings"]["CNC"], "VMC-850");
    EXPECT_EQ(empty["machine"]["definitions"].size(), 1u);
    EXPECT_EQ(empty["coordinates"]["work_offset_name"], "G54");
}

TEST_F(KorvelcDumpTest, DumpOfAProject) {
    std::string path = WriteFile("p.kvp", "PROJECTUNIT INCH\nBLOCK 3 4 2 1 0 0 -1 0 0 -1\n"
                                          "COORDINATES G59.2 1 2 3\nPART flange\nENDOFFILE\n");
    json model = Dump("dump " + path);
    EXPECT_DOUBLE_EQ(model["block"]["length"].get<double>(), 101.6);
    EXPECT_EQ(model["coordinates"]["work_offset"], 7);
    EXPECT_DOUBLE_EQ(model["coordinates"]["work_zero"]["z"].get<double>(), 76.2);
    EXPECT_EQ(model["settings"]["PART"], "flange");

    std::string out, err;
    EXPECT_EQ(Korvelc("dump " + ScratchDir() + "/none.kvp", &out, &err), 1);
    EXPECT_EQ(Korvelc("dump", &out, &err), 2);
}

} // namespace
} // namespace korvel

namespace korvel {
namespace {

TEST_F(KorvelcDumpTest, PrintObjectsWritesTheProjectLines) {
    std::string out, err;
    ASSERT_EQ(Korvelc("exec 'BULGE 2 1 0 0 5 0 0 0 -1 0 0' 'CCWTO 10 0 5' 'CCWTO 0 0 5' END "
                      "'BLOCK 1 100 80 20 0 0 -20 0 0 -1' --print-objects",
                      &out, &err),
              0)
        << err;
    EXPECT_EQ(out, "$3 1 100.00000 80.00000 20.00000 0.00000 0.00000 -20.00000 0 0 -1\n"
                   "$4 ST37-2\n$28 0.00000 0\n"
                   "$16 2 1 0.00000 0.00000 5.00000 0.00000 0 0 -1 0 0\n"
                   "$32 10.00000 0.00000 5.00000\n$32 0.00000 0.00000 5.00000\n$17\n");
    json model = Dump("exec 'BLOCK 1 100 80 20 0 0 -20 0 0 -1' "
                      "'RBULGE 2 1 40 30 5 10 10 0 0 0 0 -1 0 0' --dump");
    ASSERT_EQ(model["bulges"].size(), 1u);
    EXPECT_EQ(model["bulges"][0]["level"], 0);
    EXPECT_DOUBLE_EQ(model["bulges"][0]["z"].get<double>(), -5);
    EXPECT_EQ(model["bulges"][0]["vertices"].size(), 4u);
    EXPECT_EQ(model["top_level"], 0);
}

} // namespace
} // namespace korvel
