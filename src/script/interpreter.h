// The script interpreter: one line at a time, whole files, and file inclusion.
#pragma once

#include <string>

namespace korvel {

// The longest piece of a physical line read as one script line; a longer line is read in
// pieces of this size, each interpreted on its own.
constexpr std::size_t kMaxScriptLine = 254;

// Interprets one script line: 1 when it was accepted, blank or a comment; 0 when it was
// rejected (its message has been shown). file is nullptr for typed and replayed lines, and
// line_no is then 0. The buffer is cut at the line end.
int IntrepretLine(std::string& line, const char* file, int line_no);

struct ScriptReadResult {
    bool opened = false; // false: the file could not be read ("File not found!" was shown)
    int last_result = 1; // the result of the last line (1 for a file without lines)
    int rejected = 0;    // how many lines were rejected
    int lines = 0;       // physical lines read
};

// Reads a script file line by line; every line is interpreted, a rejected line does not stop
// the file.
ScriptReadResult ReadScript(const std::string& path);
// The lines rejected in all files read since the count was last reset, those of included
// files too: what a batch run reports as failure even when a file's last line was accepted.
int RejectedFileLines();
void ResetRejectedFileLines();
// As ReadScript: 0 when the file cannot be opened, else the result of its last line.
int InterpretFile(const std::string& path);

// INCLUDE name: interprets the file of that name in the program directory. A file being read
// must not be included again (directly or through others): that INCLUDE line is rejected.
int IncludeCom(const char* file, int line);

} // namespace korvel
