#include "metadata/AvInput.h"

#include "metadata/RiffExtent.h"

#include <string>
#include <sys/stat.h>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

AvInput::~AvInput() {
    close();
}

bool AvInput::open(const char* path) {
    close();
    // Only regular files are read: a pipe or a device could block or never end.
    struct stat info {};
    if (path != nullptr && ::stat(path, &info) == 0 && !S_ISREG(info.st_mode)) {
        m_error = S_ISDIR(info.st_mode) ? AVERROR(EISDIR) : AVERROR(EINVAL);
        return false;
    }
    m_context = avformat_alloc_context();
    if (m_context == nullptr) {
        m_error = AVERROR(ENOMEM);
        return false;
    }
    // Recordings are local files: a file that poses as a playlist must not make
    // libavformat open anything but files. A relative path that looks like
    // "scheme:rest" is a file name all the same.
    AVDictionary* options = nullptr;
    std::string url = path != nullptr ? path : "";
    if (const std::optional<std::uint64_t> limit = riffReadLimit(path)) {
        // An AVI recording followed by what is not its data (a power cut's preallocated tail):
        // read only its data, or the demuxer searches the whole tail for the next chunk.
        url = boundedInputUrl(url, *limit);
        av_dict_set(&options, "protocol_whitelist", "subfile,file", 0);
    } else {
        av_dict_set(&options, "protocol_whitelist", "file", 0);
        if (!url.empty() && url.front() != '/')
            url.insert(0, "file:");
    }
    // On failure avformat_open_input frees the context and sets it to null.
    m_error = avformat_open_input(&m_context, url.c_str(), nullptr, &options);
    av_dict_free(&options);
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
