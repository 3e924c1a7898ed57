#include "metadata/FFmpeg.h"

#include "metadata/AvInput.h"
#include "metadata/AvPacket.h"
#include "metadata/ParserOutput.h"
#include "metadata/swiftyAVISimpleParser.h"
#include "platform/system/FileSystemRepresentation.h"
#include "platform/system/SystemLog.h"

#include <cstdio>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/error.h>
}

namespace {

// Source lines the stream counters name in their open-failure diagnostics.
constexpr int kVideoCountLine = 176;
constexpr int kAudioCountLine = 205;

void logFailure(const char* reason, int code) {
    platform::systemLog("Error when getting thumbnails: %s (%d)", reason, code);
}

// Opens and probes path, logging the failure; false when either step fails.
bool openAndProbe(AvInput& input, const QByteArray& path) {
    if (!input.open(path.constData())) {
        logFailure("Cannot open video", input.error());
        return false;
    }
    if (!input.findStreamInfo()) {
        logFailure("Cannot get stream info", input.error());
        return false;
    }
    return true;
}

// Index of the data stream of a file that has video, -1 after logging which of the two is missing.
int dataStreamBesideVideo(const AvInput& input, bool hasVideo) {
    if (!hasVideo) {
        logFailure("No video stream", -1);
        return -1;
    }
    const int dataStream = input.dataStreamIndex();
    if (dataStream < 0)
        logFailure("No subtitle stream", -1);
    return dataStream;
}

} // namespace

int FFmpeg::getDataForFile(const QString& path) {
    const QByteArray file = platform::fileSystemRepresentation(path);
    platform::systemLog("start get data%s", file.constData());
    AvInput input;
    if (!openAndProbe(input, file))
        return -1;
    const int dataStream = dataStreamBesideVideo(input, input.videoStreamIndex() >= 0);
    if (dataStream < 0)
        return -1;

    swiftyAVISimpleParser parser;
    parser.initParsedModel();
    AvPacket packet;
    while (packet.valid() && av_read_frame(input.context(), packet.get()) >= 0) {
        if (packet->stream_index == dataStream)
            parser.aviSimpleParserWithPacket(packet.get(), packet->data, packet->size);
        av_packet_unref(packet.get());
    }
    parser.disposeParsedModelWithPath(path);
    return 0;
}

int FFmpeg::getFirstGPSForFile(const QString& path) {
    setUseH265(false);
    const QByteArray file = platform::fileSystemRepresentation(path);
    platform::systemLog("start get data%s", file.constData());
    AvInput input;
    if (!openAndProbe(input, file))
        return -1;

    bool hasVideo = false;
    for (unsigned i = 0; i < input.streamCount(); ++i) {
        if (input.streamCodecId(i) == AV_CODEC_ID_HEVC) {
            platform::systemLog("#CODEC_ID - HEVC");
            setUseH265(true);
        }
        if (input.streamType(i) == AVMEDIA_TYPE_VIDEO) {
            hasVideo = true;
            break;
        }
    }
    const int dataStream = dataStreamBesideVideo(input, hasVideo);
    if (dataStream < 0)
        return -1;

    swiftyAVISimpleParser parser;
    AvPacket packet;
    while (packet.valid() && av_read_frame(input.context(), packet.get()) >= 0) {
        const bool first = packet->stream_index == dataStream;
        if (first)
            parser.aviSimpleParserFirstPacketWithPacket(packet.get(), packet->data, packet->size, path);
        av_packet_unref(packet.get());
        if (first)
            break;
    }
    return 0;
}

int FFmpeg::countStreams(const QString& path, int type, int line) {
    const QByteArray file = platform::fileSystemRepresentation(path);
    AvInput input;
    if (!input.open(file.constData())) {
        char text[1024];
        av_strerror(input.error(), text, sizeof text);
        ParserOutput::printf("[%d] %s\r\n", line, text);
        return 0;
    }
    return input.countStreams(type);
}

int FFmpeg::getVideoStreamCount(const QString& path) {
    return countStreams(path, AVMEDIA_TYPE_VIDEO, kVideoCountLine);
}

int FFmpeg::getAudioStreamCount(const QString& path) {
    return countStreams(path, AVMEDIA_TYPE_AUDIO, kAudioCountLine);
}

bool FFmpeg::isH265(const QString& path) {
    const QByteArray file = platform::fileSystemRepresentation(path);
    AvInput input;
    if (!openAndProbe(input, file))
        return true;
    for (unsigned i = 0; i < input.streamCount(); ++i) {
        if (input.streamCodecId(i) == AV_CODEC_ID_HEVC) {
            platform::systemLog("#CODEC_ID - HEVC");
            return true;
        }
    }
    return false;
}
