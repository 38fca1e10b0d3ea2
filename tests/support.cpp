#include "support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "model/object_kind.h"
#include "model/registry.h"
#include "script/interpreter.h"
#include "script/project.h"
#include "ui/startup.h"

namespace korvel::test {

namespace {

// Every test process works in a folder of its own, removed at its end: what the program writes
// into the current folder (DB_ERR.TXT, files named without a folder) never lands in the build
// or source tree, and tests running side by side never meet.
class OwnCurrentFolder : public ::testing::Environment {
public:
    void SetUp() override {
        char pattern[] = "/tmp/korvel-cwd-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        ASSERT_EQ(chdir(dir_.c_str()), 0);
    }
    void TearDown() override {
        if (chdir("/") != 0)
            return;
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

private:
    std::string dir_;
};

[[maybe_unused]] ::testing::Environment* const g_own_folder =
    ::testing::AddGlobalTestEnvironment(new OwnCurrentFolder);

} // namespace

void KorvelTest::SetUp() {
    InitAllTables();
    SetProgramDirectory("");
    SetHeadlessAnswer(kIdNo);
    SetHeadlessFileAnswer("");
    RecordMessages(true);
    SetFileMessageLimit(0);
    // The work zero's machine position outlives a new project, as in the program: every test
    // starts where a fresh program does, also when many run in one process.
    Type("COORDINATES G54 0 0 0");
    char pattern[] = "/tmp/korvel-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
}

void KorvelTest::TearDown() {
    RecordMessages(false);
    SetProgramDirectory("");
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

int KorvelTest::IndexOf(int id) {
    int type = -1, index = -1;
    return FindID(id, type, index) ? index : -1;
}

int KorvelTest::Type(const std::string& line) {
    std::string buffer = line;
    return IntrepretLine(buffer, nullptr, 0);
}

void KorvelTest::TypeAll(const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        ASSERT_EQ(Type(line), 1) << line;
}

std::string KorvelTest::LinesOf(int id) {
    std::string out;
    WriteObjectLines(id, out);
    return out;
}

std::vector<std::string> KorvelTest::Messages() {
    std::vector<std::string> shown;
    for (const ShownMessage& m : TakeRecordedMessages())
        shown.push_back("[" + m.caption + "] " + m.text);
    return shown;
}

std::string KorvelTest::MakeHome(const std::string& name) {
    std::string prefix = name.empty() ? "" : name + "/";
    WriteFile(prefix + "korvel.cfg", "# a home of its own\n");
    WriteFile(prefix + "threads.dat", "# no threads\n");
    WriteFile(prefix + "amg.dat", "1.1\tSTEEL\tSTEEL\n");
    return name.empty() ? dir_ : dir_ + "/" + name;
}

ScopedChdir::ScopedChdir(const std::string& dir) {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd))
        previous_ = cwd;
    if (chdir(dir.c_str()) != 0)
        ADD_FAILURE() << "cannot enter " << dir;
}

ScopedChdir::~ScopedChdir() {
    if (!previous_.empty() && chdir(previous_.c_str()) != 0)
        ADD_FAILURE() << "cannot return to " << previous_;
}

std::string KorvelTest::WriteFile(const std::string& name, const std::string& content) {
    std::string path = dir_ + "/" + name;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int RunCommand(const std::string& command, std::string* out, std::string* err) {
    char pattern[] = "/tmp/korvel-run-XXXXXX";
    if (!mkdtemp(pattern))
        return -1;
    std::string dir = pattern;
    std::string full = command + " >" + dir + "/out 2>" + dir + "/err </dev/null";
    int status = std::system(full.c_str());
    if (out)
        *out = Slurp(dir + "/out");
    if (err)
        *err = Slurp(dir + "/err");
    std::filesystem::remove_all(dir);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace korvel::test
