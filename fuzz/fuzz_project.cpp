// Fuzzes opening a project: whatever the bytes, the program must not crash, and what it then
// saves must open again to the same project (the second save equals the first).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "model/machine.h"
#include "platform/platform.h"
#include "script/project.h"
#include "script/settings.h"
#include "script/units.h"
#include "ui/startup.h"

using namespace korvel;

namespace {
std::string ScratchDir() {
    char pattern[] = "/tmp/korvel-fuzz-project-XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir ? std::string(dir) + "/" : std::string("/tmp/");
}

void Write(const std::string& path, const std::string& text) {
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string dir = ScratchDir();
    static bool ready = [] {
        RecordMessages(true);
        SetProgramDirectory(dir);
        return true;
    }();
    (void)ready;
    InitAllTables();
    Write(dir + "input.kvp", std::string(reinterpret_cast<const char*>(data), size));
    OpenProject(dir + "input.kvp");
    std::string first = ProjectText();

    // Reopen what was saved with the same settings the first reading left (the file carries
    // only the project's own).
    int unit = UserUnit();
    Settings settings = GetSettings();
    MachineSetup machine = GetMachine();
    InitAllTables();
    SetUserUnit(unit);
    MutableSettings() = settings;
    PutMachine(machine);
    Write(dir + "saved.kvp", first);
    OpenProject(dir + "saved.kvp");
    std::string second = ProjectText();
    if (first != second) {
        Write(dir + "second.kvp", second);
        std::fprintf(stderr, "saved project does not reopen to the same project: see %s\n",
                     dir.c_str());
        std::abort();
    }
    TakeRecordedMessages();
    return 0;
}
