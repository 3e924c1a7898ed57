#include "platform/media/Asset.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
}

#include "platform/media/RecordingInput.h"
#include "platform/system/FileManager.h"

#include <QFileInfo>

namespace {

constexpr std::int32_t kMicroseconds = AV_TIME_BASE;

// A stream time in the stream's own time base when it is 1/n, else in microseconds.
MediaTime streamTime(std::int64_t value, AVRational timeBase) {
    if (timeBase.num == 1 && timeBase.den > 0)
        return MediaTime(value, timeBase.den);
    if (timeBase.num <= 0 || timeBase.den <= 0)
        return MediaTime::zero();
    return MediaTime(av_rescale_q(value, timeBase, AVRational{1, kMicroseconds}), kMicroseconds);
}

QString localPath(const QUrl& url) {
    if (url.isLocalFile())
        return FileManager::filePath(url);
    if (url.scheme().isEmpty())
        return url.path();
    return {};
}

QString averror(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

// Whether the container's header already tells every stream's kind, codec, size and length.
bool headerIsComplete(const AVFormatContext* format) {
    if (format->nb_streams == 0)
        return false;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream* stream = format->streams[i];
        const AVCodecParameters* par = stream->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_UNKNOWN || par->codec_id == AV_CODEC_ID_NONE)
            return false;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO && (par->width <= 0 || par->height <= 0))
            return false;
        if (par->codec_type == AVMEDIA_TYPE_AUDIO && par->sample_rate <= 0)
            return false;
        if ((stream->duration == AV_NOPTS_VALUE || stream->duration <= 0) && format->duration <= 0)
            return false;
    }
    return true;
}

} // namespace

std::shared_ptr<Asset> Asset::assetWithUrl(const QUrl& url) {
    return std::shared_ptr<Asset>(new Asset(url));
}

Asset::~Asset() = default;

QList<std::shared_ptr<AssetTrack>> Asset::tracks() const {
    load();
    return m_tracks;
}

QList<std::shared_ptr<AssetTrack>> Asset::tracksWithMediaType(MediaType type) const {
    QList<std::shared_ptr<AssetTrack>> found;
    for (const auto& track : tracks())
        if (track->mediaType() == type)
            found.append(track);
    return found;
}

std::shared_ptr<AssetTrack> Asset::trackWithTrackID(int trackID) const {
    for (const auto& track : tracks())
        if (track->trackID() == trackID)
            return track;
    return nullptr;
}

MediaTime Asset::duration() const {
    load();
    return m_duration;
}

QString Asset::errorString() const {
    load();
    return m_error;
}

std::shared_ptr<AssetTrack> Asset::playbackVideoTrack() const {
    for (const auto& track : tracksWithMediaType(MediaType::Video))
        if (track->hasSource())
            return track;
    return nullptr;
}

std::shared_ptr<AssetTrack> Asset::playbackAudioTrack() const {
    for (const auto& track : tracksWithMediaType(MediaType::Audio))
        if (track->hasSource())
            return track;
    return nullptr;
}

QString Asset::description() const {
    QString text =
        isComposition() ? QStringLiteral("<Composition") : QStringLiteral("<Asset %1").arg(m_url.toString());
    text += QStringLiteral(" duration %1>").arg(duration().description());
    for (const auto& track : tracks())
        text += QStringLiteral("\n  ") + track->description();
    return text;
}

void Asset::load() const {
    if (m_loaded || isComposition())
        return;
    m_loaded = true;

    const QString path = localPath(m_url);
    if (path.isEmpty()) {
        m_error = QStringLiteral("not a local file: %1").arg(m_url.toString());
        return;
    }
    // Only regular files: a FIFO or a device would block or never end.
    if (!FileManager::isRegularFile(path)) {
        m_error = QStringLiteral("no such file: %1").arg(path);
        return;
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();

    AVFormatContext* format = nullptr;
    int rc =
        platform::openRecordingInput(&format, FileManager::fileSystemRepresentation(absolute).constData());
    if (rc < 0) {
        m_error = QStringLiteral("cannot open %1: %2").arg(absolute, averror(rc));
        return;
    }
    // Reading ahead costs a decode per stream; only do it when the header leaves something open.
    rc = headerIsComplete(format) ? 0 : avformat_find_stream_info(format, nullptr);
    if (rc < 0) {
        m_error = QStringLiteral("cannot read %1: %2").arg(absolute, averror(rc));
        avformat_close_input(&format);
        return;
    }

    const MediaTime formatDuration =
        format->duration > 0 ? MediaTime(format->duration, kMicroseconds) : MediaTime::zero();
    int ordinals[AVMEDIA_TYPE_NB] = {};
    MediaTime longest = MediaTime::zero();
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream* stream = format->streams[i];
        const AVCodecParameters* par = stream->codecpar;
        AssetTrack::Fields fields;
        fields.trackID = static_cast<int>(m_tracks.size()) + 1;
        fields.sourcePath = absolute;
        fields.streamIndex = static_cast<int>(i);
        if (par->codec_type >= 0 && par->codec_type < AVMEDIA_TYPE_NB)
            fields.typeOrdinal = ordinals[par->codec_type]++;
        // Cover art is a picture, not a moving track.
        const bool picture = (stream->disposition & AV_DISPOSITION_ATTACHED_PIC) != 0;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO && !picture)
            fields.mediaType = MediaType::Video;
        else if (par->codec_type == AVMEDIA_TYPE_AUDIO)
            fields.mediaType = MediaType::Audio;
        else
            fields.mediaType = MediaType::Other;

        MediaTime length = (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
                               ? streamTime(stream->duration, stream->time_base)
                               : formatDuration;
        fields.timeRange = MediaTimeRange(MediaTime::zero(), length);
        if (fields.mediaType == MediaType::Video && par->width > 0 && par->height > 0) {
            int width = par->width;
            const AVRational sar = par->sample_aspect_ratio;
            if (sar.num > 0 && sar.den > 0 && sar.num != sar.den)
                width = static_cast<int>(av_rescale(width, sar.num, sar.den));
            fields.naturalSize = QSize(width, par->height);
        }
        if (const char* name = avcodec_get_name(par->codec_id))
            fields.codecName = QString::fromLatin1(name);
        if (fields.mediaType != MediaType::Other)
            longest = MediaTime::maximum(longest, length);
        m_tracks.append(std::make_shared<AssetTrack>(fields));
    }
    m_duration = formatDuration.value() > 0 ? formatDuration : longest;
    avformat_close_input(&format);
}
