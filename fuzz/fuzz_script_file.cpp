// Fuzzes reading a whole script file, INCLUDE of itself and of its neighbours included. Each
// input starts from a cleared world, so that a failure depends on that input alone.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "fuzz_support.h"

#include "platform/platform.h"
#include "script/interpreter.h"
#include "ui/startup.h"

using namespace korvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string& dir = fuzz::Workspace();
    InitAllTables();
    std::string path = dir + "input.kvs";
    fuzz::WriteBytes(path, data, size);
    ReadScript(path);
    TakeRecordedMessages();
    return 0;
}
