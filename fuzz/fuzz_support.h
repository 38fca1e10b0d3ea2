// What the fuzz targets share: a scratch folder of their own and writing the input to a file.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace korvel::fuzz {

// A new folder under /tmp, ending in '/'.
inline std::string ScratchDir() {
    char pattern[] = "/tmp/korvel-fuzz-XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir ? std::string(dir) + "/" : std::string("/tmp/");
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
