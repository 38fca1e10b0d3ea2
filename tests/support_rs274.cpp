#include "support_rs274.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "support.h"

namespace korvel::test {

namespace {

// Rewrites the words outside comments with `edit`, keeping comments as they are.
std::string OutsideComments(const std::string& line, std::string (*edit)(const std::string&)) {
    std::string out, plain;
    int depth = 0;
    for (char c : line) {
        if (depth == 0 && c != '(') {
            plain += c;
            continue;
        }
        if (depth == 0) {
            out += edit(plain);
            plain.clear();
        }
        out += c;
        if (c == '(')
            ++depth;
        else if (c == ')')
            --depth;
    }
    return out + edit(plain);
}

std::string MapWords(const std::string& words) {
    static const std::regex g44(R"(\bG0*44\b)", std::regex::icase);
    static const std::regex m88(R"(\bM0*8[89]\b)", std::regex::icase);
    return std::regex_replace(std::regex_replace(words, g44, "G43"), m88, "");
}

} // namespace

std::string ForLinuxCnc(const std::string& program) {
    std::istringstream in(program);
    std::string line, out;
    while (std::getline(in, line))
        out += OutsideComments(line, MapWords) + "\n";
    return out;
}

std::string MachineComplaint(const std::string& program) {
    char pattern[] = "/tmp/korvel-rs274-XXXXXX";
    if (!mkdtemp(pattern))
        return "cannot make a scratch folder";
    std::string dir = pattern;
    {
        std::ofstream tools(dir + "/tools.tbl");
        for (int t = 1; t <= 99; ++t)
            tools << "T" << t << " P" << t << " D5 Z0 ;place " << t << "\n";
        std::ofstream(dir + "/program.ngc", std::ios::binary) << ForLinuxCnc(program);
    }
    std::string out, err;
    // The interpreter keeps its tool table in a file of a fixed name in TMPDIR: each run gets a
    // folder of its own, or runs side by side would read each other's tables.
    int status = RunCommand(
        "TMPDIR=" + dir + " rs274 -t " + dir + "/tools.tbl -g " + dir + "/program.ngc", &out, &err);
    std::filesystem::remove_all(dir);
    if (status == 127)
        return "rs274 not found: scripts/bootstrap installs linuxcnc-uspace";
    // It announces "executing" on stderr; anything else there is a complaint.
    std::istringstream lines(err);
    std::string line, complaint;
    while (std::getline(lines, line))
        if (line != "executing" && !line.empty())
            complaint += line + "\n";
    if (status != 0 && complaint.empty())
        complaint = "rs274 exited with status " + std::to_string(status);
    return complaint;
}

void ExpectMachineAccepts(const std::string& program, const std::string& what) {
    std::string complaint = MachineComplaint(program);
    EXPECT_EQ(complaint, "") << "LinuxCNC's interpreter refuses " << what;
}

} // namespace korvel::test
