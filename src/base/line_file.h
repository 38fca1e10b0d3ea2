// Reading a text file one physical line at a time, for the tab-separated database files.
#pragma once

#include <cstdio>
#include <string>

namespace korvel {

class LineFile {
public:
    LineFile() = default;
    LineFile(const LineFile&) = delete;
    LineFile& operator=(const LineFile&) = delete;
    ~LineFile();

    // Opens a regular file for reading; false for anything else or when it cannot be opened.
    bool Open(const std::string& path);
    // The next line without its line end (LF, CR LF or a CR alone). A line longer
    // than max_length gives its first max_length characters and sets too_long. False at the
    // end of the file.
    bool Next(std::string& line, std::size_t max_length, bool& too_long);
    // The number of the line last read, from 1.
    int LineNumber() const { return line_number_; }
    // Whether reading stopped on an error rather than at the end.
    bool Failed() const;

private:
    std::FILE* file_ = nullptr;
    int line_number_ = 0;
};

} // namespace korvel
