// Running korvelc (or any command) from the command-line tests: status and both outputs.
#pragma once

#include <string>

#include "support.h"

namespace korvel::test {

struct CliRun {
    int status;
    std::string out, err;
};

inline CliRun Shell(const std::string& command) {
    CliRun r;
    r.status = RunCommand(command, &r.out, &r.err);
    return r;
}

inline CliRun Korvelc(const std::string& arguments) {
    return Shell(std::string(KORVELC_PATH) + " " + arguments);
}

} // namespace korvel::test
