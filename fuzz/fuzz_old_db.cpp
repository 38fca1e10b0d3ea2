// Fuzzes the readers of the older database files. The first byte chooses the file (amg.dat,
// material.dat, tool.dat, toolmat.dat); the rest is its content. Groups and tools stay loaded
// between inputs so that cutting-data lines can find them, until the tables fill up.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "fuzz_support.h"

#include "platform/platform.h"
#include "tooldb/database.h"
#include "script/db_files.h"
#include "tooldb/library.h"

using namespace korvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string& dir = fuzz::Workspace();
    if (size == 0)
        return 0;
    const char* names[] = {"amg.dat", "material.dat", "tool.dat", "toolmat.dat"};
    int which = data[0] % 4;
    std::string path = dir + names[which];
    fuzz::WriteBytes(path, data + 1, size - 1);
    switch (which) {
    case 0:
        LoadMaterialGroups();
        break;
    case 1:
        LoadMaterials();
        break;
    case 2:
        LoadTools();
        break;
    default:
        LoadToolMat();
        break;
    }
    std::remove(path.c_str());
    if (ToolCount() > 900 || ToolMatCount() > 4000 || MaterialCount() > 450)
        InitToolDatabase();
    ReportLoadError("", true);
    TakeRecordedMessages();
    return 0;
}
