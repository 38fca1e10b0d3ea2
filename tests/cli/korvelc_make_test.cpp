// korvelc make: the program file, the report on stdout, exit statuses, every example, refused
// runs and the post-processor that korvelc waits for.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support.h"
#include "support_rs274.h"

namespace korvel {
namespace {

namespace fs = std::filesystem;

class KorvelcMakeTest : public test::KorvelTest {
protected:
    // korvelc with a fixed creation time, run in the scratch folder.
    int Korvelc(const std::string& arguments, std::string* out, std::string* err) {
        return test::RunCommand("cd " + ScratchDir() + " && SOURCE_DATE_EPOCH=1767225600 " +
                                    std::string(KORVELC_PATH) + " " + arguments,
                                out, err);
    }
    static std::string Example(const std::string& name) {
        return std::string(KORVEL_SOURCE_DIR) + "/examples/" + name;
    }
};

TEST_F(KorvelcMakeTest, TheDrilledExampleCompiles) {
    std::string out, err;
    ASSERT_EQ(Korvelc("make " + Example("drilled-plate.kvp") + " -o plate.cnc", &out, &err), 0)
        << err;
    std::string program = test::Slurp(ScratchDir() + "/plate.cnc");
    EXPECT_EQ(program.rfind("\n%  \nO2000 (MP-200-01)  \n(Korvel, Version 2.05)  \n", 0), 0u);
    EXPECT_NE(program.find("(Created: Thu Jan 1 00:00:00 2026)"), std::string::npos);
    EXPECT_EQ(out.substr(0, 35), "Tools used:\n\nT\tMill Time (sec)\tName");
    EXPECT_NE(out.find("\nTotal Milling Time: 1 min, 20 sec\n"), std::string::npos);
    // The report is also the message the desktop program shows.
    EXPECT_EQ(err.substr(0, 47), "[Compilation completed succesfully] Tools used:");
    test::ExpectMachineAccepts(program, "drilled-plate.kvp");
    // Made again, the program is the same, byte for byte.
    ASSERT_EQ(Korvelc("make " + Example("drilled-plate.kvp") + " -o again.cnc", &out, &err), 0);
    EXPECT_EQ(test::Slurp(ScratchDir() + "/again.cnc"), program);
}

TEST_F(KorvelcMakeTest, WithoutOutputTheProgramGoesToTheProjectsFile) {
    std::string out, err;
    ASSERT_EQ(Korvelc("make " + Example("drilled-plate.kvp"), &out, &err), 0) << err;
    EXPECT_TRUE(fs::exists(ScratchDir() + "/drilled-plate.cnc")); // its GCFILE
}

TEST_F(KorvelcMakeTest, EveryExampleCompilesOrNamesWhatThisVersionCannotMachine) {
    for (const auto& entry : fs::directory_iterator(std::string(KORVEL_SOURCE_DIR) + "/examples")) {
        if (entry.path().extension() != ".kvp")
            continue;
        std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        std::string out, err;
        fs::remove(ScratchDir() + "/out.cnc");
        int status = Korvelc("make " + entry.path().string() + " -o out.cnc", &out, &err);
        if (status == 0) {
            test::ExpectMachineAccepts(test::Slurp(ScratchDir() + "/out.cnc"), name);
        } else {
            EXPECT_EQ(status, 1);
            EXPECT_NE(err.find("[Feature not supported] "), std::string::npos) << err;
            EXPECT_NE(err.find(" is not machined by this version\n"), std::string::npos) << err;
            EXPECT_FALSE(fs::exists(ScratchDir() + "/out.cnc"));
            EXPECT_EQ(out, "");
        }
    }
}

TEST_F(KorvelcMakeTest, QuestionsAreAnsweredAsAskedAndARefusalKeepsTheOldProgram) {
    // A single bulge, excess material removal off and a drill beside it on the block.
    std::string project = WriteFile("q.kvp", "PROJECTUNIT MM\nEXCESSMR OFF\n"
                                             "ATTTOOL 1 DRILL_6 0 0 0\n"
                                             "BLOCK 1 100 80 20 0 0 -20 0 0 -1\nTOPFACE 0 0\n"
                                             "RBULGE 2 1 40 30 5 20 20 5 0 0 0 0 0 0\n"
                                             "DRILL 3 1 6 10 90 70 0 0 0 1 -1\nENDOFFILE\n");
    WriteFile("old.cnc", "%\nM30\n%\n");
    std::string out, err;
    EXPECT_EQ(Korvelc("make " + project + " -o old.cnc", &out, &err), 1);
    EXPECT_EQ(err, "[Tool crash danger warning!] Excess material removal is disabled\\nbut some "
                   "objects have been attached on the remaining part of the block\\nContinue "
                   "anyway?\n");
    EXPECT_EQ(out, "");
    EXPECT_EQ(test::Slurp(ScratchDir() + "/old.cnc"), "%\nM30\n%\n");
    // Yes goes on, to the bulge, which this version does not mill yet.
    EXPECT_EQ(Korvelc("--answer yes make " + project + " -o old.cnc", &out, &err), 1);
    EXPECT_NE(err.find("[Feature not supported] Bulge ID 2 is not machined by this version\n"),
              std::string::npos)
        << err;
    EXPECT_EQ(test::Slurp(ScratchDir() + "/old.cnc"), "%\nM30\n%\n");
}

TEST_F(KorvelcMakeTest, UsageErrors) {
    std::string out, err;
    EXPECT_EQ(Korvelc("make", &out, &err), 2);
    EXPECT_EQ(Korvelc("make a.kvp b.kvp", &out, &err), 2);
    EXPECT_EQ(Korvelc("make a.kvp -o", &out, &err), 2);
    EXPECT_EQ(Korvelc("make a.kvp --fast", &out, &err), 2);
    EXPECT_EQ(Korvelc("make " + ScratchDir() + "/missing.kvp", &out, &err), 1);
}

// A machine whose file holds DEFINE: korvelc writes the raw program to "$<pid>.tmp", runs the
// post-processor on it, waits for it and removes the raw file.
class KorvelcPostProcessorTest : public KorvelcMakeTest {
protected:
    void SetUp() override {
        KorvelcMakeTest::SetUp();
        std::string data = std::string(KORVEL_SOURCE_DIR) + "/data/";
        for (const char* name : {"kvdb.csv", "threads.dat", "amg.dat"})
            fs::copy_file(data + name, ScratchDir() + "/" + name);
        WriteFile("korvel.cfg", "USERUNIT MM\nCENTERDRILLING OFF\nUSE G81 ON\nPOSTPROC post.sh\n"
                                "CNC PP-MILL pp.mach\n# end\n");
        WriteFile("pp.mach", "DEFINE\n# end\n");
        project_ = WriteFile("p.kvp", "PROJECTUNIT MM\nCNC PP-MILL\nATTTOOL 1 DRILL_6 0 0 0\n"
                                      "BLOCK 1 100 80 20 0 0 -20 0 0 -1\nTOPFACE 0 0\n"
                                      "DRILL 2 1 6 10 50 40 0 0 0 1 -1\nENDOFFILE\n");
    }
    void PostProcessor(const std::string& script) {
        WriteFile("post.sh", "#!/bin/sh\n" + script);
        fs::permissions(ScratchDir() + "/post.sh", fs::perms::owner_all);
    }
    std::string project_;
};

TEST_F(KorvelcPostProcessorTest, WaitsForThePostProcessorsOutput) {
    // A slow post-processor: the output must exist when korvelc has ended.
    PostProcessor("sleep 1\necho '(POST-PROCESSED)' > \"$3\"\ncat \"$2\" >> \"$3\"\n");
    std::string out, err;
    ASSERT_EQ(Korvelc("--home " + ScratchDir() + " make " + project_ + " -o final.cnc", &out, &err),
              0)
        << err;
    std::string program = test::Slurp(ScratchDir() + "/final.cnc");
    EXPECT_EQ(program.substr(0, 17), "(POST-PROCESSED)\n");
    EXPECT_NE(program.find("G81 R5.  Z-10."), std::string::npos);
    for (const auto& entry : fs::directory_iterator(ScratchDir()))
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

TEST_F(KorvelcPostProcessorTest, AFailingPostProcessorFailsTheRun) {
    PostProcessor("exit 3\n");
    std::string out, err;
    EXPECT_EQ(Korvelc("--home " + ScratchDir() + " make " + project_ + " -o final.cnc", &out, &err),
              1);
    EXPECT_NE(err.find("korvelc: the post-processor did not make final.cnc\n"), std::string::npos)
        << err;
    EXPECT_FALSE(fs::exists(ScratchDir() + "/final.cnc"));
}

} // namespace
} // namespace korvel
