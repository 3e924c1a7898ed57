#include "platform/media/AssetImageGenerator.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include "platform/media/RecordingInput.h"
#include "platform/system/FileSystemRepresentation.h"

#include <QFileInfo>
#include <QThread>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A frame whose time is this close after the requested one still counts as at it: the
// time a player reports is rounded, the frame's is not.
constexpr double kTimeSlack = 0.0005;
// How often a reader may ask to be called again before the file counts as unreadable.
constexpr int kMaxRetries = 1000;

QString averror(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

// The colour matrix of a frame for swscale; pictures that do not say use the guess
// players make (BT.709 for HD sizes, BT.601 below).
int swsColorspace(const AVFrame* frame) {
    switch (frame->colorspace) {
    case AVCOL_SPC_BT709:
        return SWS_CS_ITU709;
    case AVCOL_SPC_FCC:
        return SWS_CS_FCC;
    case AVCOL_SPC_SMPTE240M:
        return SWS_CS_SMPTE240M;
    case AVCOL_SPC_BT2020_NCL:
    case AVCOL_SPC_BT2020_CL:
        return SWS_CS_BT2020;
    case AVCOL_SPC_BT470BG:
    case AVCOL_SPC_SMPTE170M:
        return SWS_CS_ITU601;
    default:
        return (frame->width >= 1280 || frame->height > 576) ? SWS_CS_ITU709 : SWS_CS_ITU601;
    }
}

bool isFullRange(const AVFrame* frame) {
    if (frame->color_range == AVCOL_RANGE_JPEG)
        return true;
    switch (frame->format) {
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUVJ444P:
    case AV_PIX_FMT_YUVJ440P:
    case AV_PIX_FMT_YUVJ411P:
        return true;
    default:
        return false;
    }
}

} // namespace

// One open file and the decoder of its video stream.
struct AssetImageGenerator::Decoder {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    AVFrame* best = nullptr;
    int stream = -1;
    AVRational timeBase{0, 1};
    double startSeconds = 0.0; // the stream's first timestamp (0 when unknown)
    double rotation = 0.0;     // counter-clockwise degrees of the display matrix
    bool untouched = true;     // nothing read since the file was opened

    ~Decoder() {
        av_frame_free(&best);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }

    bool open(const QString& path, int streamIndex, QString* error);
    // Decodes the frame at `target` (file seconds) into `best`; its time in `bestTime`.
    bool decodeAt(double target, double& bestTime, QString* error);

private:
    enum class Scan { Found, TooLate, Failed };
    bool seekTo(double seconds, bool fromStart);
    Scan scan(double limit, bool fromStart, double& bestTime, QString* error);
    double frameSeconds(const AVFrame* f) const;
};

bool AssetImageGenerator::Decoder::open(const QString& path, int streamIndex, QString* error) {
    // The path's own bytes, also those of a name that is not UTF-8; only the camera's containers.
    int rc = platform::openRecordingInput(&format, platform::fileSystemRepresentation(path).constData());
    if (rc < 0) {
        *error = QStringLiteral("cannot open %1: %2").arg(path, averror(rc));
        return false;
    }
    if (streamIndex < 0 || static_cast<unsigned>(streamIndex) >= format->nb_streams) {
        *error = QStringLiteral("%1 has no stream %2").arg(path).arg(streamIndex);
        return false;
    }
    AVStream* st = format->streams[streamIndex];
    if (st->codecpar->width <= 0 || st->codecpar->height <= 0 || st->codecpar->codec_id == AV_CODEC_ID_NONE) {
        rc = avformat_find_stream_info(format, nullptr);
        if (rc < 0) {
            *error = QStringLiteral("cannot read %1: %2").arg(path, averror(rc));
            return false;
        }
    }
    if (st->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) {
        *error = QStringLiteral("stream %1 of %2 is not video").arg(streamIndex).arg(path);
        return false;
    }
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard = static_cast<int>(i) == streamIndex ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    stream = streamIndex;
    timeBase = st->time_base;
    if (timeBase.num <= 0 || timeBase.den <= 0) {
        *error = QStringLiteral("stream %1 of %2 has no time base").arg(streamIndex).arg(path);
        return false;
    }
    if (st->start_time != AV_NOPTS_VALUE)
        startSeconds = static_cast<double>(st->start_time) * av_q2d(timeBase);

    const AVCodec* decoder = avcodec_find_decoder(st->codecpar->codec_id);
    if (!decoder) {
        *error = QStringLiteral("no decoder for %1 in %2")
                     .arg(QString::fromLatin1(avcodec_get_name(st->codecpar->codec_id)), path);
        return false;
    }
    codec = avcodec_alloc_context3(decoder);
    packet = av_packet_alloc();
    frame = av_frame_alloc();
    best = av_frame_alloc();
    if (!codec || !packet || !frame || !best) {
        *error = QStringLiteral("out of memory");
        return false;
    }
    rc = avcodec_parameters_to_context(codec, st->codecpar);
    if (rc < 0) {
        *error = QStringLiteral("cannot set up the decoder for %1: %2").arg(path, averror(rc));
        return false;
    }
    codec->pkt_timebase = timeBase;
    // A grab decodes a whole group of pictures; several threads shorten it.
    codec->thread_count = std::clamp(QThread::idealThreadCount(), 1, 8);
    codec->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    rc = avcodec_open2(codec, decoder, nullptr);
    if (rc < 0) {
        *error = QStringLiteral("cannot open the decoder for %1: %2").arg(path, averror(rc));
        return false;
    }

    size_t size = 0;
    const uint8_t* matrix = av_stream_get_side_data(st, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (matrix && size >= 9 * sizeof(int32_t)) {
        const double degrees = av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
        if (std::isfinite(degrees))
            rotation = degrees;
    }
    return true;
}

double AssetImageGenerator::Decoder::frameSeconds(const AVFrame* f) const {
    std::int64_t ts = f->best_effort_timestamp;
    if (ts == AV_NOPTS_VALUE)
        ts = f->pts;
    if (ts == AV_NOPTS_VALUE)
        return -std::numeric_limits<double>::infinity();
    return static_cast<double>(ts) * av_q2d(timeBase);
}

bool AssetImageGenerator::Decoder::seekTo(double seconds, bool fromStart) {
    if (fromStart && untouched)
        return true;
    untouched = false;
    const AVStream* st = format->streams[stream];
    const std::int64_t startTs = st->start_time != AV_NOPTS_VALUE ? st->start_time : 0;
    const std::int64_t ts =
        fromStart ? startTs : static_cast<std::int64_t>(std::floor(seconds / av_q2d(timeBase)));
    int rc = av_seek_frame(format, stream, ts, AVSEEK_FLAG_BACKWARD);
    if (rc < 0 && !fromStart)
        rc = av_seek_frame(format, stream, startTs, AVSEEK_FLAG_BACKWARD);
    if (rc < 0)
        rc = avformat_seek_file(format, -1, std::numeric_limits<std::int64_t>::min(), 0, 0, AVSEEK_FLAG_BYTE);
    avcodec_flush_buffers(codec);
    return rc >= 0;
}

AssetImageGenerator::Decoder::Scan AssetImageGenerator::Decoder::scan(double limit, bool fromStart,
                                                                      double& bestTime, QString* error) {
    bool sawKey = false;
    bool eof = false;
    bool haveBest = false;
    int retries = 0;
    int lastError = 0;
    av_frame_unref(best);
    while (true) {
        if (!eof) {
            const int rc = av_read_frame(format, packet);
            if (rc == AVERROR(EAGAIN) && ++retries < kMaxRetries)
                continue;
            if (rc < 0) {
                eof = true;
                avcodec_send_packet(codec, nullptr); // drain: the last frames come out only now
            } else {
                const bool ours = packet->stream_index == stream;
                // After a seek the decoder can only start at a key frame.
                if (ours && !sawKey && (packet->flags & AV_PKT_FLAG_KEY))
                    sawKey = true;
                if (ours && sawKey) {
                    const int sent = avcodec_send_packet(codec, packet);
                    if (sent < 0 && sent != AVERROR(EAGAIN))
                        lastError = sent; // a damaged packet: the next key frame mends it
                }
                av_packet_unref(packet);
            }
        }
        int rc = 0;
        while ((rc = avcodec_receive_frame(codec, frame)) >= 0) {
            const double t = frameSeconds(frame);
            if (!haveBest && t > limit && !fromStart) {
                av_frame_unref(frame);
                return Scan::TooLate; // the seek landed after the time asked for
            }
            if (!haveBest || t <= limit) {
                av_frame_unref(best);
                av_frame_move_ref(best, frame);
                bestTime = t;
                haveBest = true;
                if (t > limit)
                    return Scan::Found; // the time lies before the first frame: the first one shows
                continue;
            }
            av_frame_unref(frame);
            return Scan::Found; // the next frame is later: the one before is shown at the time
        }
        if (rc == AVERROR_EOF || eof) {
            if (haveBest)
                return Scan::Found;
            *error = lastError < 0 ? QStringLiteral("no picture could be decoded: %1").arg(averror(lastError))
                                   : QStringLiteral("no picture could be decoded");
            return Scan::Failed;
        }
        if (rc != AVERROR(EAGAIN))
            lastError = rc;
    }
}

bool AssetImageGenerator::Decoder::decodeAt(double target, double& bestTime, QString* error) {
    const double limit = target + kTimeSlack;
    // Some containers' seeks land after the time asked for: step further back until not.
    double backoff = 0.0;
    while (true) {
        const double seekSeconds = target - backoff;
        const bool fromStart = seekSeconds <= startSeconds;
        if (!seekTo(seekSeconds, fromStart) && !fromStart) {
            backoff = target - startSeconds + 1.0;
            continue;
        }
        const Scan result = scan(limit, fromStart, bestTime, error);
        if (result == Scan::Found)
            return true;
        if (result == Scan::Failed)
            return false;
        backoff = backoff == 0.0 ? 1.0 : backoff * 2.0;
    }
}

AssetImageGenerator::AssetImageGenerator(std::shared_ptr<Asset> asset) : m_asset(std::move(asset)) {}

AssetImageGenerator::~AssetImageGenerator() = default;

QImage AssetImageGenerator::copyCGImageAtTime(const MediaTime& time, MediaTime* actualTime, QString* error) {
    QString localError;
    QString& why = error ? *error : localError;
    why.clear();
    if (!time.isNumeric()) {
        why = QStringLiteral("the time %1 is not a number").arg(time.description());
        return {};
    }
    if (!m_decoder) {
        const std::shared_ptr<AssetTrack> track = m_asset ? m_asset->playbackVideoTrack() : nullptr;
        if (!track) {
            why = m_asset && !m_asset->errorString().isEmpty() ? m_asset->errorString()
                                                               : QStringLiteral("the asset has no video");
            return {};
        }
        auto decoder = std::make_unique<Decoder>();
        if (!decoder->open(track->sourcePath(), track->streamIndex(), &why))
            return {};
        m_decoder = std::move(decoder);
    }

    double bestTime = 0.0;
    if (!m_decoder->decodeAt(time.seconds() + sourceStartTime, bestTime, &why))
        return {};
    const AVFrame* f = m_decoder->best;
    if (f->width <= 0 || f->height <= 0 || f->format < 0) {
        why = QStringLiteral("the decoded picture has no size");
        return {};
    }

    // The display size: non-square pixels are widened (or narrowed) to square ones.
    int width = f->width;
    AVRational sar = f->sample_aspect_ratio;
    if (sar.num <= 0 || sar.den <= 0)
        sar = m_decoder->format->streams[m_decoder->stream]->codecpar->sample_aspect_ratio;
    if (sar.num > 0 && sar.den > 0 && sar.num != sar.den)
        width = static_cast<int>(std::clamp<std::int64_t>(av_rescale(f->width, sar.num, sar.den), 1, 16384));

    QImage image(width, f->height, QImage::Format_RGB32);
    if (image.isNull()) {
        why = QStringLiteral("out of memory for a %1 x %2 picture").arg(width).arg(f->height);
        return {};
    }
    SwsContext* sws = sws_getContext(
        f->width, f->height, static_cast<AVPixelFormat>(f->format), width, f->height, AV_PIX_FMT_RGB32,
        SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT, nullptr, nullptr, nullptr);
    if (!sws) {
        why = QStringLiteral("cannot convert %1 pictures")
                  .arg(QString::fromLatin1(av_get_pix_fmt_name(static_cast<AVPixelFormat>(f->format))));
        return {};
    }
    const int* coefficients = sws_getCoefficients(swsColorspace(f));
    sws_setColorspaceDetails(sws, coefficients, isFullRange(f) ? 1 : 0, sws_getCoefficients(SWS_CS_DEFAULT),
                             1, 0, 1 << 16, 1 << 16);
    uint8_t* planes[4] = {image.bits(), nullptr, nullptr, nullptr};
    int strides[4] = {static_cast<int>(image.bytesPerLine()), 0, 0, 0};
    sws_scale(sws, f->data, f->linesize, 0, f->height, planes, strides);
    sws_freeContext(sws);

    if (appliesPreferredTrackTransform && m_decoder->rotation != 0.0) {
        // The matrix turns counter-clockwise; QTransform turns clockwise on screen.
        double degrees = m_decoder->rotation;
        const double quarter = std::round(degrees / 90.0) * 90.0;
        if (std::abs(degrees - quarter) < 0.01)
            degrees = quarter;
        image = image.transformed(QTransform().rotate(-degrees), Qt::SmoothTransformation);
    }
    if (actualTime)
        *actualTime = MediaTime::makeWithSeconds(bestTime - sourceStartTime, 1000000);
    return image;
}
