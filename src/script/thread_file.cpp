// Reading the thread table threads.dat.
#include "script/thread_file.h"

#include "base/text.h"
#include "model/thread_type.h"
#include "script/interpreter.h"
#include "tooldb/library.h"

namespace korvel {

int LoadThreadDefinitions() {
    ClearThreadTypes();
    std::string path = LibraryPath("threads.dat");
    if (!FileExist(path)) {
        ReportLoadError(path + ": File missing!");
        return -1;
    }
    return InterpretFile(path);
}

} // namespace korvel
