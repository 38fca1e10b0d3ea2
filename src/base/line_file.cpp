// Physical lines of a text file.
#include "base/line_file.h"

#include "platform/platform.h"

namespace korvel {

LineFile::~LineFile() {
    if (file_)
        std::fclose(file_);
}

bool LineFile::Open(const std::string& path) {
    file_ = OpenRegularFile(path);
    line_number_ = 0;
    return file_ != nullptr;
}

bool LineFile::Next(std::string& line, std::size_t max_length, bool& too_long) {
    line.clear();
    too_long = false;
    if (!file_)
        return false;
    int c;
    bool any = false;
    while ((c = getc_unlocked(file_)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        if (c == '\r') {
            // CR LF, or a CR alone: one line end either way.
            int next = getc_unlocked(file_);
            if (next != '\n' && next != EOF)
                ungetc(next, file_);
            break;
        }
        if (line.size() < max_length)
            line.push_back(static_cast<char>(c));
        else
            too_long = true;
    }
    if (!any)
        return false;
    std::size_t nul = line.find('\0');
    if (nul != std::string::npos)
        line.resize(nul);
    ++line_number_;
    return true;
}

bool LineFile::Failed() const { return file_ && std::ferror(file_); }

} // namespace korvel
