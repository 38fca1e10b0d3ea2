// korvelc and the files around it: what sits at a data-file or project path may be a FIFO or a
// folder (korvelc must neither hang nor read it), and saving with -o replaces the right file.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "cli_support.h"
#include "support.h"

namespace korvel {
namespace {

using test::CliRun;

namespace fs = std::filesystem;

class KorvelcFilesTest : public test::KorvelTest {
protected:
    // korvelc in the scratch folder (where DB_ERR.TXT goes), stopped after 30 seconds: a run
    // that waits on a FIFO ends with status 124.
    CliRun Korvelc(const std::string& arguments) {
        CliRun r;
        r.status = test::RunCommand("cd " + ScratchDir() + " && timeout 30 " + KORVELC_PATH + " " +
                                        arguments,
                                    &r.out, &r.err);
        return r;
    }
    // Puts a FIFO or a folder where a file would be.
    void Block(const std::string& path, bool fifo) {
        fs::remove(path);
        if (fifo)
            ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
        else
            fs::create_directory(path);
    }
};

TEST_F(KorvelcFilesTest, AFifoOrAFolderAtADataFileIsAMissingFile) {
    for (bool fifo : {true, false}) {
        SCOPED_TRACE(fifo ? "FIFO" : "folder");
        std::string home = MakeHome("home");
        std::string run = "--home " + home + " exec '# nothing'";
        const std::string kReadOnly = "[Korvel] ERRORS in Tool Data Base. Please read the report "
                                      "in DB_ERR.TXT\\nTool Data base files will not be updated "
                                      "on exit!\n[Korvel] WARNING!\\nTools Data Base is "
                                      "READONLY\\n\\nAny changes made will be effective only "
                                      "during this seccion\\nand will be lost on exit\n";

        Block(home + "/korvel.cfg", fifo);
        CliRun cfg = Korvelc(run);
        EXPECT_EQ(cfg.status, 1);
        EXPECT_EQ(cfg.err, "korvelc: configuration file " + home + "/korvel.cfg not found\n");
        fs::remove_all(home + "/korvel.cfg");
        MakeHome("home");

        for (const char* name : {"threads.dat", "amg.dat"}) {
            SCOPED_TRACE(name);
            Block(home + "/" + name, fifo);
            CliRun r = Korvelc(run);
            EXPECT_EQ(r.status, 0);
            EXPECT_EQ(r.err, kReadOnly);
            fs::remove_all(home + "/" + name);
            MakeHome("home");
        }

        // A missing kvdb.csv is an empty database, and so is whatever else sits there.
        Block(home + "/kvdb.csv", fifo);
        CliRun db = Korvelc(run);
        EXPECT_EQ(db.status, 0);
        EXPECT_EQ(db.err, "");
        fs::remove_all(home + "/kvdb.csv");

        // The load report itself.
        fs::remove(home + "/threads.dat");
        Block(ScratchDir() + "/DB_ERR.TXT", fifo);
        CliRun report = Korvelc(run);
        EXPECT_EQ(report.status, 0);
        EXPECT_EQ(report.err, kReadOnly);
        fs::remove_all(ScratchDir() + "/DB_ERR.TXT");
        fs::remove_all(home);
    }
}

TEST_F(KorvelcFilesTest, AFifoOrAFolderAsAProjectIsNotFound) {
    std::string fifo = ScratchDir() + "/fifo.kvp";
    Block(fifo, true);
    for (const char* command : {"check", "dump", "exec -p"}) {
        SCOPED_TRACE(command);
        CliRun r = Korvelc(std::string(command) + " " + fifo);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "[" + fifo + "] File not found!\n");
        r = Korvelc(std::string(command) + " " + ScratchDir());
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "[" + ScratchDir() + "] File not found!\n");
    }
    // The other commands that read a project, and the program verify reads.
    for (const char* command : {"make", "render", "verify"}) {
        SCOPED_TRACE(command);
        CliRun r = Korvelc(std::string(command) + " " + fifo);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.rfind("[" + fifo + "] File not found!\n", 0), 0u) << r.err;
    }
    std::string example = std::string(KORVEL_SOURCE_DIR) + "/examples/drilled-plate.kvp";
    CliRun verify = Korvelc("verify " + example + " --gcode " + fifo);
    EXPECT_EQ(verify.status, 1);
    EXPECT_EQ(verify.err, "korvelc: cannot read " + fifo + "\n");
    // INCLUDE of a FIFO, too.
    std::string home = MakeHome("home");
    Block(home + "/part.inc", true);
    CliRun r = Korvelc("--home " + home + " exec 'INCLUDE part.inc'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "[" + home + "/part.inc] File not found!\n");
}

TEST_F(KorvelcFilesTest, SavingReplacesTheFileALinkNamesAndKeepsItsMode) {
    const std::string kBlock = "exec 'BLOCK 1 10 10 10 0 0 -10 0 0 -1' -o ";
    std::string target = WriteFile("real/target.kvp", "old\n");
    fs::create_symlink("real/target.kvp", ScratchDir() + "/link.kvp");
    ASSERT_EQ(chmod(target.c_str(), 0600), 0);
    CliRun r = Korvelc(kBlock + ScratchDir() + "/link.kvp");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(ScratchDir() + "/link.kvp"));
    EXPECT_NE(test::Slurp(target).find("$3 1 10.00000"), std::string::npos);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    // A picture is saved the same way.
    std::string picture = WriteFile("real/picture.svg", "old\n");
    fs::create_symlink("real/picture.svg", ScratchDir() + "/picture.svg");
    ASSERT_EQ(chmod(picture.c_str(), 0600), 0);
    std::string example = std::string(KORVEL_SOURCE_DIR) + "/examples/first-steps.kvp";
    EXPECT_EQ(Korvelc("render " + example + " -o " + ScratchDir() + "/picture.svg").status, 0);
    EXPECT_TRUE(fs::is_symlink(ScratchDir() + "/picture.svg"));
    EXPECT_NE(test::Slurp(picture).find("<svg"), std::string::npos);
    EXPECT_EQ(fs::status(picture).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    // A dangling link gets its file.
    fs::create_symlink("made.kvp", ScratchDir() + "/dangling.kvp");
    EXPECT_EQ(Korvelc(kBlock + ScratchDir() + "/dangling.kvp").status, 0);
    EXPECT_NE(test::Slurp(ScratchDir() + "/made.kvp").find("$3 1 10.00000"), std::string::npos);
}

TEST_F(KorvelcFilesTest, ADeviceOrAFolderAsTheOutputIsRefusedAndLeftAlone) {
    std::vector<std::string> targets = {ScratchDir() + "/folder.kvp", ScratchDir() + "/fifo.kvp"};
    fs::create_directory(targets[0]);
    Block(targets[1], true);
    // A device node of its own (like /dev/full), where the system lets the test make one: the
    // system's own nodes are not put at risk.
    std::string node = ScratchDir() + "/full.kvp";
    bool have_node = mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0;
    if (have_node) {
        targets.push_back(node);
        fs::create_symlink("full.kvp", ScratchDir() + "/to-device.kvp");
        targets.push_back(ScratchDir() + "/to-device.kvp");
    }
    std::string example = std::string(KORVEL_SOURCE_DIR) + "/examples/first-steps.kvp";
    for (const std::string& out : targets) {
        SCOPED_TRACE(out);
        CliRun r = Korvelc("exec 'BLOCK 1 10 10 10 0 0 -10 0 0 -1' -o " + out);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "[" + out + "] Can't open file for writing\n");
        EXPECT_EQ(Korvelc("render " + example + " -o " + out).status, 1);
    }
    EXPECT_TRUE(fs::is_directory(targets[0]));
    EXPECT_TRUE(fs::is_fifo(targets[1]));
    if (!have_node)
        GTEST_SKIP() << "no device node could be made here (needs root)";
    EXPECT_TRUE(fs::is_character_file(node));
    EXPECT_TRUE(fs::is_symlink(ScratchDir() + "/to-device.kvp"));
}

} // namespace
} // namespace korvel
