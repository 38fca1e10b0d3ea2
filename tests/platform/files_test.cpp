// Files through the platform port: what is read must be a regular file (a FIFO must not stop
// the program), and a save replaces what it should and nothing else.
#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "platform/platform.h"
#include "support.h"

namespace korvel {
namespace {

namespace fs = std::filesystem;
using FilesTest = test::KorvelTest;

// Runs fn, which must not wait on the FIFO at fifo; if it still runs after a while, the FIFO
// is opened from this side to release it and the test fails.
template <class Fn> void WithoutHanging(const std::string& fifo, Fn fn) {
    auto done = std::async(std::launch::async, fn);
    if (done.wait_for(std::chrono::seconds(20)) == std::future_status::ready) {
        done.get();
        return;
    }
    ADD_FAILURE() << "waited on the FIFO " << fifo;
    int fd = open(fifo.c_str(), O_RDWR | O_NONBLOCK);
    done.wait();
    if (fd >= 0)
        close(fd);
}

mode_t ModeOf(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST_F(FilesTest, OnlyRegularFilesAreOpenedForReading) {
    std::string file = WriteFile("plain.txt", "text\n");
    std::string fifo = ScratchDir() + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    std::FILE* f = OpenRegularFile(file);
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    WithoutHanging(fifo, [&] {
        EXPECT_EQ(OpenRegularFile(fifo), nullptr);
        EXPECT_EQ(OpenRegularFileForWriting(fifo, true), nullptr);
    });
    EXPECT_EQ(OpenRegularFile(ScratchDir()), nullptr);
    EXPECT_EQ(OpenRegularFile("/dev/zero"), nullptr);
    EXPECT_EQ(OpenRegularFile(ScratchDir() + "/missing"), nullptr);
    EXPECT_EQ(OpenRegularFileForWriting(ScratchDir(), false), nullptr);
    // A link to a regular file is that file.
    fs::create_symlink(file, ScratchDir() + "/link");
    f = OpenRegularFile(ScratchDir() + "/link");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
}

TEST_F(FilesTest, SavingThroughASymbolicLinkUpdatesTheFileItNames) {
    std::string target = WriteFile("real/target.kvp", "old\n");
    fs::create_symlink("real/target.kvp", ScratchDir() + "/relative");
    fs::create_symlink(ScratchDir() + "/relative", ScratchDir() + "/chain");
    ASSERT_TRUE(WriteFileAtomically(ScratchDir() + "/chain", "new\n"));
    EXPECT_EQ(test::Slurp(target), "new\n");
    EXPECT_TRUE(fs::is_symlink(ScratchDir() + "/chain"));
    EXPECT_TRUE(fs::is_symlink(ScratchDir() + "/relative"));
    EXPECT_EQ(fs::read_symlink(ScratchDir() + "/relative"), "real/target.kvp");

    // A dangling link: the file it names is made.
    fs::create_symlink("made.kvp", ScratchDir() + "/dangling");
    ASSERT_TRUE(WriteFileAtomically(ScratchDir() + "/dangling", "made\n"));
    EXPECT_TRUE(fs::is_symlink(ScratchDir() + "/dangling"));
    EXPECT_EQ(test::Slurp(ScratchDir() + "/made.kvp"), "made\n");

    // A loop of links names no file.
    fs::create_symlink("loop-b", ScratchDir() + "/loop-a");
    fs::create_symlink("loop-a", ScratchDir() + "/loop-b");
    EXPECT_FALSE(WriteFileAtomically(ScratchDir() + "/loop-a", "x\n"));
    EXPECT_TRUE(fs::is_symlink(ScratchDir() + "/loop-a"));
}

TEST_F(FilesTest, ASavedFileKeepsItsModeAndOwner) {
    for (mode_t mode : {0600, 0444, 0640, 0755}) {
        std::string path = WriteFile("mode.kvp", "old\n");
        ASSERT_EQ(chmod(path.c_str(), mode), 0);
        ASSERT_TRUE(WriteFileAtomically(path, "new\n"));
        EXPECT_EQ(ModeOf(path), mode);
        EXPECT_EQ(test::Slurp(path), "new\n");
        fs::remove(path);
    }
    // A new file gets the usual mode of new files.
    mode_t mask = umask(022);
    ASSERT_TRUE(WriteFileAtomically(ScratchDir() + "/new.kvp", "new\n"));
    umask(mask);
    EXPECT_EQ(ModeOf(ScratchDir() + "/new.kvp"), 0644u);

    std::string owned = WriteFile("owned.kvp", "old\n");
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can give a file another owner to keep";
    ASSERT_EQ(chown(owned.c_str(), 4321, 4322), 0);
    ASSERT_TRUE(WriteFileAtomically(owned, "new\n"));
    struct stat st;
    ASSERT_EQ(stat(owned.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 4321u);
    EXPECT_EQ(st.st_gid, 4322u);
}

TEST_F(FilesTest, WhatIsNotARegularFileIsNotReplaced) {
    std::string fifo = ScratchDir() + "/fifo.kvp";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    std::string dir = ScratchDir() + "/folder.kvp";
    fs::create_directory(dir);
    fs::create_symlink("fifo.kvp", ScratchDir() + "/to-fifo.kvp");
    WithoutHanging(fifo, [&] {
        EXPECT_FALSE(WriteFileAtomically(fifo, "x\n"));
        EXPECT_FALSE(WriteFileAtomically(dir, "x\n"));
        EXPECT_FALSE(WriteFileAtomically(ScratchDir() + "/to-fifo.kvp", "x\n"));
    });
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_directory(dir));
    EXPECT_TRUE(fs::is_symlink(ScratchDir() + "/to-fifo.kvp"));
    // A device node of our own (like /dev/null), where the system lets us make one; the
    // system's own nodes are not put at risk.
    std::string node = ScratchDir() + "/null.kvp";
    if (mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        EXPECT_FALSE(WriteFileAtomically(node, "x\n"));
        EXPECT_TRUE(fs::is_character_file(node));
    }
    // Nothing was left behind.
    int entries = 0;
    for (const auto& entry : fs::directory_iterator(ScratchDir())) {
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
        ++entries;
    }
    EXPECT_GE(entries, 3);
}

TEST_F(FilesTest, AHardLinkKeepsTheOldContent) {
    // The save replaces the file rather than rewriting it in place, so that a failure
    // part-way never leaves half a file: another name of the old file still shows it.
    std::string path = WriteFile("linked.kvp", "old\n");
    fs::create_hard_link(path, ScratchDir() + "/other-name.kvp");
    ASSERT_TRUE(WriteFileAtomically(path, "new\n"));
    EXPECT_EQ(test::Slurp(path), "new\n");
    EXPECT_EQ(test::Slurp(ScratchDir() + "/other-name.kvp"), "old\n");
}

TEST_F(FilesTest, ASetOfFilesIsReplacedWholeOrNotAtAll) {
    std::string a = WriteFile("a.dat", "old a\n");
    std::string b = WriteFile("b.dat", "old b\n");
    std::string c = WriteFile("c.dat", "old c\n");
    std::vector<FileContent> files = {
        {a, std::string(50, 'a')}, {b, std::string(50, 'b')}, {c, std::string(50, 'c')}};
    SimulateDiskFullAfter(120); // the third file does not fit
    EXPECT_EQ(WriteFilesAtomically(files), 2);
    SimulateDiskFullAfter(-1);
    EXPECT_EQ(test::Slurp(a), "old a\n");
    EXPECT_EQ(test::Slurp(b), "old b\n");
    EXPECT_EQ(test::Slurp(c), "old c\n");
    int entries = 0;
    for (const auto& entry : fs::directory_iterator(ScratchDir()))
        ++entries, (void)entry;
    EXPECT_EQ(entries, 3); // no temporary file left

    files[1].path = ScratchDir() + "/no-such-folder/b.dat";
    EXPECT_EQ(WriteFilesAtomically(files), 1);
    EXPECT_EQ(test::Slurp(a), "old a\n");

    files[1].path = b;
    SetSyncWrites(false);
    EXPECT_EQ(WriteFilesAtomically(files), -1);
    SetSyncWrites(true);
    EXPECT_EQ(test::Slurp(a), files[0].content);
    EXPECT_EQ(test::Slurp(b), files[1].content);
    EXPECT_EQ(test::Slurp(c), files[2].content);
}

} // namespace
} // namespace korvel
