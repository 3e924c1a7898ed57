// libFuzzer target: the MP4 data-track parser on arbitrary files, with and without the
// first-sample stop.

#include "metadata/AmbaParser.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

std::string makeInputPath() {
    const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(folder) + "/kavrin-fuzz-amba-" + std::to_string(getpid()) + ".mp4";
}

const std::string& inputPath() {
    static const std::string path = makeInputPath();
    return path;
}

// Reads every fix and sample handed out, so that a list shorter than its count shows.
float touch(const ISimpleParser& parser) {
    float sum = 0;
    for (int i = 0; i < parser.m_nGpsData; ++i) {
        sum += float(parser.m_pGpsData[i].latitude);
        if (parser.m_pSensorData != nullptr)
            sum += parser.m_pSensorData[i].x;
    }
    return sum;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The parsers print their diagnostics to standard output; keep the fuzzer's output readable.
    if (std::freopen("/dev/null", "w", stdout) == nullptr)
        return 0;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = inputPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return 0;
    const bool written = std::fwrite(data, 1, size, file) == size;
    std::fclose(file);
    if (!written)
        return 0;
    volatile float sink = 0;
    for (bool firstPacketBreak : {false, true}) {
        AmbaParser parser(firstPacketBreak);
        parser.Parse(path.c_str());
        sink = sink + touch(parser);
        parser.Clear();
    }
    // Removed after each input: a fuzzer may end without running exit handlers.
    std::remove(path.c_str());
    return 0;
}
