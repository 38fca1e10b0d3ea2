// Fuzzes reading kvdb.csv, and checks that what was loaded saves (through the program's own
// save, without flushing to the disk) to a file that loads back to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "fuzz_support.h"

#include "base/units.h"
#include "platform/platform.h"
#include "script/db_files.h"
#include "tooldb/database.h"
#include "tooldb/library.h"
#include "ui/startup.h"

using namespace korvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string& dir = fuzz::Workspace();
    InitToolDatabase();
    ResetUnits();
    for (int code : {11, 13, 22, 41, 61})
        RegisterMaterialGroup(code, "G", "S");
    fuzz::WriteText(dir + "kvdb.csv", std::string(reinterpret_cast<const char*>(data), size));
    LoadToolDB();
    ResetUnits();
    SetLibraryDirectory(""); // a LIBRARY line of the input must not move the save elsewhere
    if (SaveToolDB() != 1)
        std::abort();
    std::string first = fuzz::ReadText(dir + "kvdb.csv"); // what the save wrote
    InitToolDatabase();
    for (int code : {11, 13, 22, 41, 61})
        RegisterMaterialGroup(code, "G", "S");
    if (LoadToolDB() != 1 || ToolDBText() != first) {
        std::fprintf(stderr, "saved database does not read back the same\n");
        std::abort();
    }
    ReportLoadError("", true);
    // Free what this input built before returning (its lines may be any command, and build
    // objects and undo entries too): a run that leaves more allocations than it frees makes
    // libFuzzer run it again under the leak checker, which costs more than the run itself.
    InitAllTables();
    TakeRecordedMessages();
    return 0;
}
