// Fuzzes the line splitters and the interpreter with one arbitrary line at a time.
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/registry.h"
#include "platform/platform.h"
#include "script/interpreter.h"
#include "base/text.h"
#include "base/units.h"

using namespace korvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = [] {
        RecordMessages(true);
        SetProgramDirectory("/nonexistent-korvel-fuzz/");
        return true;
    }();
    (void)ready;
    InitID();
    ResetUnits();
    std::string text(reinterpret_cast<const char*>(data), size);

    std::string copy = text;
    args(copy);
    copy = text;
    argt(copy);
    copy = text;
    arg_gm(copy);
    std::string joined;
    inv_args(joined);

    copy = text;
    IntrepretLine(copy, nullptr, 0);
    copy = text;
    IntrepretLine(copy, "fuzz.kvp", 1);
    TakeRecordedMessages();
    return 0;
}
