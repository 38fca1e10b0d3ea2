// What the fuzz targets share: a scratch folder of their own and writing the input to a file.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "platform/platform.h"

namespace korvel::fuzz {

// A new folder under /tmp, ending in '/'.
inline std::string ScratchDir() {
    char pattern[] = "/tmp/korvel-fuzz-XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir ? std::string(dir) + "/" : std::string("/tmp/");
}

// The target's own scratch folder, made on the first call: messages are recorded instead of
// shown, and the folder is the program directory (with enter, the working directory too).
inline const std::string& Workspace(bool enter = false) {
    static const std::string dir = [enter] {
        std::string d = ScratchDir();
        RecordMessages(true);
        SetProgramDirectory(d);
        if (enter && chdir(d.c_str()) != 0)
            std::abort(); // the target would write outside its folder
        return d;
    }();
    return dir;
}

inline void WriteBytes(const std::string& path, const void* data, std::size_t size) {
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
}

inline void WriteText(const std::string& path, const std::string& text) {
    WriteBytes(path, text.data(), text.size());
}

} // namespace korvel::fuzz
