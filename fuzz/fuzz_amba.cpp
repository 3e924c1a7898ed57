// libFuzzer target: the MP4 data-track parser on arbitrary files, with and without the
// first-sample stop.

#include "FuzzInput.h"
#include "metadata/AmbaParser.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

const std::string& inputPath() {
    static const std::string path = fuzz::inputPath("amba", ".mp4");
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
    fuzz::silenceStdout();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = inputPath();
    if (!fuzz::writeInput(path, data, size))
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
