#include "metadata/AvInput.h"

#include "metadata/RiffExtent.h"
#include "platform/media/RecordingInput.h"

#include <string>

extern "C" {
#include <libavformat/avformat.h>
}

AvInput::~AvInput() {
    close();
}

bool AvInput::open(const char* path) {
    close();
    m_context = avformat_alloc_context();
    if (m_context == nullptr) {
        m_error = AVERROR(ENOMEM);
        return false;
    }
    // Only the camera's containers, only files (RecordingInput.h).
    std::string url;
    const char* protocols = platform::kRecordingProtocols;
    if (const std::optional<std::uint64_t> limit = path != nullptr ? riffReadLimit(path) : std::nullopt) {
        // An AVI recording followed by what is not its data (a power cut's preallocated tail):
        // read only its data, or the demuxer searches the whole tail for the next chunk.
        url = boundedInputUrl(path, *limit);
        protocols = "subfile,file";
    }
    // On failure the context is freed and set to null.
    m_error = platform::openRecordingInput(&m_context, path, url, protocols);
    return m_error >= 0;
}

bool AvInput::findStreamInfo() {
    if (m_context == nullptr)
        return false;
    m_error = avformat_find_stream_info(m_context, nullptr);
    return m_error >= 0;
}

bool AvInput::streamTypesKnown() const {
    if (m_context == nullptr)
        return false;
    for (unsigned i = 0; i < streamCount(); ++i)
        if (streamType(i) == AVMEDIA_TYPE_UNKNOWN)
            return false;
    return true;
}

void AvInput::close() {
    if (m_context != nullptr)
        avformat_close_input(&m_context);
    m_context = nullptr;
}

unsigned AvInput::streamCount() const {
    return m_context != nullptr ? m_context->nb_streams : 0;
}

int AvInput::streamType(unsigned i) const {
    const AVStream* stream = m_context->streams[i];
    return stream->codecpar != nullptr ? int(stream->codecpar->codec_type) : int(AVMEDIA_TYPE_UNKNOWN);
}

int AvInput::streamCodecId(unsigned i) const {
    const AVStream* stream = m_context->streams[i];
    return stream->codecpar != nullptr ? int(stream->codecpar->codec_id) : int(AV_CODEC_ID_NONE);
}

int AvInput::countStreams(int type) const {
    int count = 0;
    for (unsigned i = 0; i < streamCount(); ++i)
        count += streamType(i) == type ? 1 : 0;
    return count;
}

int AvInput::videoStreamIndex() const {
    for (unsigned i = 0; i < streamCount(); ++i)
        if (streamType(i) == AVMEDIA_TYPE_VIDEO)
            return int(i);
    return -1;
}

int AvInput::dataStreamIndex() const {
    for (unsigned i = 0; i < streamCount(); ++i) {
        const int type = streamType(i);
        if (type == AVMEDIA_TYPE_DATA || type == AVMEDIA_TYPE_SUBTITLE || type == AVMEDIA_TYPE_ATTACHMENT)
            return int(i);
    }
    return -1;
}
