// libFuzzer target: the AVI layout through AviSimpleParser and the FFmpeg reader.
// The input is written to a temporary ".avi" file, since both read files by path.

#include "FuzzInput.h"
#include "metadata/AviSimpleParser.h"
#include "metadata/FFmpeg.h"
#include "platform/system/SystemLog.h"

#include <QString>

#include <cstdint>
#include <string>

extern "C" {
#include <libavutil/log.h>
}

namespace {

std::string g_path;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    av_log_set_level(AV_LOG_QUIET);
    platform::setSystemLogSink([](const std::string&) {});
    fuzz::silenceStdout();
    g_path = fuzz::inputPath("avi", ".avi");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!fuzz::writeInput(g_path, data, size))
        return 0;

    for (const bool firstPacketBreak : {false, true}) {
        AviSimpleParser parser(firstPacketBreak);
        parser.Parse(g_path.c_str());
        // Every record handed out must be readable, one sample per fix.
        volatile double sum = 0;
        for (int i = 0; i < parser.m_nGpsData; ++i)
            sum = sum + parser.m_pGpsData[i].latitude + parser.m_pSensorData[i].x;
        parser.Clear();
    }
    FFmpeg reader;
    const QString path = QString::fromStdString(g_path);
    reader.getDataForFile(path);
    reader.getFirstGPSForFile(path);
    reader.getVideoStreamCount(path);
    reader.getAudioStreamCount(path);
    reader.isH265(path);
    return 0;
}
