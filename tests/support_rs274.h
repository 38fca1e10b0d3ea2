// Runs G-code through LinuxCNC's standalone interpreter (rs274 of the Debian package
// linuxcnc-uspace, installed by scripts/bootstrap): a program that a real control's
// interpreter reads without an error. Every test that makes G-code passes it through here.
#pragma once

#include <string>

namespace korvel::test {

// The interpreter's complaint about a program, empty when it read the whole program without an
// error. It runs with a tool table of places 1..99. That interpreter has no G44 and no M88/M89,
// which Korvel writes on request: G44 is read as G43 and M88/M89 are dropped before it sees
// the program (outside comments only).
std::string MachineComplaint(const std::string& program);

// The program as the interpreter is given it (the mapping above).
std::string ForLinuxCnc(const std::string& program);

// A failed expectation naming `what` when the interpreter complains.
void ExpectMachineAccepts(const std::string& program, const std::string& what = "");

} // namespace korvel::test
