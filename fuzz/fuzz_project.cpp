// Fuzzes opening a project: whatever the bytes, the program must not crash, and what it then
// saves (through the program's own save, without flushing to the disk) must open again to the
// same project (the second save equals the first).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "fuzz_support.h"

#include "base/units.h"
#include "model/machine.h"
#include "model/settings.h"
#include "platform/platform.h"
#include "script/project.h"
#include "ui/startup.h"

using namespace korvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string& dir = fuzz::Workspace();
    static const bool cleared = (InitAllTables(), true); // later runs clear at their end
    (void)cleared;
    fuzz::WriteText(dir + "input.kvp", std::string(reinterpret_cast<const char*>(data), size));
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
    if (!WriteFileAtomically(dir + "saved.kvp", first))
        std::abort();
    OpenProject(dir + "saved.kvp");
    std::string second = ProjectText();
    if (first != second) {
        fuzz::WriteText(dir + "second.kvp", second);
        std::fprintf(stderr, "saved project does not reopen to the same project: see %s\n",
                     dir.c_str());
        std::abort();
    }
    // Free what this input built before returning: a run that leaves more allocations than
    // it frees makes libFuzzer run it again under the leak checker, which costs more than the
    // run itself.
    InitAllTables();
    TakeRecordedMessages();
    return 0;
}
