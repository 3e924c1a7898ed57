// libFuzzer target: the MP4 GPS and sensor box parser on arbitrary files, with and without the
// first-entry stop, and the parser selection over the same file.

#include "FuzzInput.h"
#include "metadata/CMovieOldParser.h"
#include "metadata/ParserManager.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

const std::string& inputPath() {
    static const std::string path = fuzz::inputPath("movieold", ".mp4");
    return path;
}

// Reads every fix and sample handed out, so that a list shorter than its count shows.
float touch(const GpsRecord* records, const SensorRecord* samples, int count) {
    float sum = 0;
    for (int i = 0; i < count; ++i) {
        if (records != nullptr)
            sum += float(records[i].longitude);
        if (samples != nullptr)
            sum += samples[i].z;
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
        CMovieOldParser parser(firstPacketBreak);
        parser.Parse(path.c_str());
        sink = sink + touch(parser.m_pGpsData, parser.m_pSensorData, parser.m_nGpsData);
        parser.Clear();
    }
    // The ".mp4" name keeps the AVI parser out: the selection runs over the two MP4 parsers.
    ParserManager manager(false);
    manager.ParseData(path.c_str());
    int gpsCount = 0;
    int sensorCount = 0;
    const GpsRecord* records = manager.GetGpsRecords(gpsCount);
    const SensorRecord* samples = manager.GetSensorRecords(sensorCount);
    sink = sink + touch(records, samples, gpsCount < sensorCount ? sensorCount : gpsCount);
    GpsRecord first{};
    if (GetFirstGpsRecord(path.c_str(), first))
        sink = sink + float(first.latitude);
    // Removed after each input: a fuzzer may end without running exit handlers.
    std::remove(path.c_str());
    return 0;
}
