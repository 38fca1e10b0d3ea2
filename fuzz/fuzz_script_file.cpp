// Fuzzes reading a whole script file, INCLUDE of itself and of its neighbours included.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "model/registry.h"
#include "platform/platform.h"
#include "script/interpreter.h"
#include "script/units.h"

using namespace korvel;

namespace {
std::string ScratchDir() {
    char pattern[] = "/tmp/korvel-fuzz-XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir ? std::string(dir) + "/" : std::string("/tmp/");
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
    InitID();
    ResetUnits();
    std::string path = dir + "input.kvs";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    ReadScript(path);
    TakeRecordedMessages();
    return 0;
}
