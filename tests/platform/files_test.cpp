// Files through the platform port: what is read must be a regular file (a FIFO must not stop
// the program).
#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <sys/stat.h>
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

} // namespace
} // namespace korvel
