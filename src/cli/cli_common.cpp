// The start-up and project opening every korvelc command shares.
#include "cli/cli_common.h"

#include <cstdio>

#include "base/text.h"
#include "model/heights.h"
#include "model/settings.h"
#include "script/config.h"
#include "script/interpreter.h"
#include "script/project.h"
#include "ui/startup.h"

namespace korvel {

bool Start() {
    switch (StartUp()) {
    case StartupResult::kOk:
        return true;
    case StartupResult::kConfigMissing:
        std::fprintf(stderr, "korvelc: configuration file %s not found\n", ConfigPath().c_str());
        return false;
    case StartupResult::kConfigRejected:
        std::fprintf(stderr, "korvelc: the last line of configuration file %s was rejected\n",
                     ConfigPath().c_str());
        return false;
    }
    return false;
}

bool LoadProject(const std::string& path, bool* accepted) {
    LoadCfgValues();
    ResetRejectedFileLines();
    bool readable = FileExist(path);
    bool clean = OpenProject(path) == 1;
    RecalcZ();
    if (accepted)
        *accepted = readable && clean && RejectedFileLines() == 0;
    return readable;
}

} // namespace korvel
