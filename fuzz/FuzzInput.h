// What the file-reading fuzz targets share: the parsers read by path and print to standard output.
#pragma once

#include <QLoggingCategory>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace fuzz {

// Turns the program's log lines off and sends standard output to /dev/null: the parsers' diagnostic
// lines would bury the fuzzer's own output and slow the run down.
inline void silenceStdout() {
    QLoggingCategory::setFilterRules(QStringLiteral("kavrin.*=false"));
    // Where /dev/null cannot be opened the run is only noisier.
    if (std::freopen("/dev/null", "w", stdout) == nullptr)
        return;
}

// A file name of this process's own for the input, in memory (/dev/shm) where that is writable.
inline std::string inputPath(const char* target, const char* extension) {
    const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(folder) + "/kavrin-fuzz-" + target + "-" + std::to_string(getpid()) + extension;
}

// Writes the input to path; false when it could not be written whole.
inline bool writeInput(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    std::fclose(file);
    return written;
}

} // namespace fuzz
