// The start-up and project opening every korvelc command shares.
#include "cli/cli_common.h"

#include <cstdio>

#include "base/text.h"
#include "base/units.h"
#include "cam/compile.h"
#include "model/heights.h"
#include "model/settings.h"
#include "platform/platform.h"
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

bool MakeOpenedProject(bool summary) {
    SetStartedProgramsWaited(true); // a batch run must not end before the program exists
    if (!MakeGCode(SaveProject))
        return false;
    if (summary) {
        std::fputs(ReportText().c_str(), stdout);
        std::fputs("\n", stdout);
    }
    if (!DefinitionMode())
        return true;
    // The machine needs its post-processor, which makes the output file from the raw one.
    bool done = PostProcCode(FindMachineFile) && PostProcessed();
    std::remove(RawGCodeFile().c_str());
    if (!done) {
        std::fprintf(stderr, "korvelc: the post-processor did not make %s\n",
                     OutputGCodeFile().c_str());
        return false;
    }
    return true;
}

bool FileAndOutput(const std::vector<std::string>& words, const char* takes, std::string& file,
                   std::string& output) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "-o") {
            if (i + 1 >= words.size()) {
                Usage("-o needs an OUT file");
                return false;
            }
            output = words[++i];
        } else if (!words[i].empty() && words[i][0] == '-') {
            Usage(("unknown option " + words[i]).c_str());
            return false;
        } else if (file.empty()) {
            file = words[i];
        } else {
            Usage(takes);
            return false;
        }
    }
    if (file.empty()) {
        Usage(takes);
        return false;
    }
    return true;
}

} // namespace korvel
