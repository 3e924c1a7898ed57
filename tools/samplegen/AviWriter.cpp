#include "AviWriter.h"

#include "SampleGen.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/mathematics.h>
}

namespace samplegen {

namespace {

std::string avError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

struct InputCloser {
    void operator()(AVFormatContext* ctx) const { avformat_close_input(&ctx); }
};
using Input = std::unique_ptr<AVFormatContext, InputCloser>;

struct OutputCloser {
    void operator()(AVFormatContext* ctx) const {
        if (ctx->pb)
            avio_closep(&ctx->pb);
        avformat_free_context(ctx);
    }
};
using Output = std::unique_ptr<AVFormatContext, OutputCloser>;

struct PacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
using Packet = std::unique_ptr<AVPacket, PacketFree>;

// One input stream copied to one output stream.
struct Route {
    int input; // index into inputs
    int inStream;
    int outStream;
};

std::uint32_t le32(const std::vector<char>& d, std::size_t at) {
    return std::uint32_t(std::uint8_t(d[at])) | (std::uint32_t(std::uint8_t(d[at + 1])) << 8) |
           (std::uint32_t(std::uint8_t(d[at + 2])) << 16) | (std::uint32_t(std::uint8_t(d[at + 3])) << 24);
}

void putLe32(std::vector<char>& d, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        d[at + i] = static_cast<char>(v >> (8 * i));
}

bool isId(const std::vector<char>& d, std::size_t at, const char* id) {
    return std::memcmp(&d[at], id, 4) == 0;
}

} // namespace

AviWriter::AviWriter(std::vector<std::string> sources, bool audio, double seconds)
    : m_sources(std::move(sources)), m_audio(audio), m_seconds(seconds) {
    if (m_sources.empty())
        throw SampleGenError("an AVI recording needs a source clip");
}

void AviWriter::setPackets(std::vector<std::vector<std::uint8_t>> packets, double samplesPerSecond) {
    m_packets = std::move(packets);
    m_samplesPerSecond = samplesPerSecond;
}

void AviWriter::write(const std::string& path) const {
    std::vector<Input> inputs;
    for (const std::string& source : m_sources) {
        AVFormatContext* ctx = nullptr;
        const int rc = avformat_open_input(&ctx, source.c_str(), nullptr, nullptr);
        if (rc < 0)
            throw SampleGenError("cannot open the clip " + source + ": " + avError(rc));
        inputs.emplace_back(ctx);
    }

    AVFormatContext* raw = nullptr;
    int rc = avformat_alloc_output_context2(&raw, nullptr, "avi", path.c_str());
    if (rc < 0 || !raw)
        throw SampleGenError("cannot make an AVI muxer: " + avError(rc));
    Output out(raw);
    out->flags |= AVFMT_FLAG_BITEXACT;

    std::vector<Route> routes;
    auto addCopy = [&](int input, AVMediaType type) {
        AVFormatContext* in = inputs[input].get();
        const int index = av_find_best_stream(in, type, -1, -1, nullptr, 0);
        if (index < 0)
            throw SampleGenError(std::string("the clip ") + m_sources[input] + " has no " +
                                 av_get_media_type_string(type) + " stream");
        AVStream* st = avformat_new_stream(out.get(), nullptr);
        if (!st || avcodec_parameters_copy(st->codecpar, in->streams[index]->codecpar) < 0)
            throw SampleGenError("cannot add a stream to " + path);
        // The clips are AVI files: their four-character codes suit the AVI muxer as they are.
        st->time_base = in->streams[index]->time_base;
        const AVRational rate = in->streams[index]->r_frame_rate;
        if (type == AVMEDIA_TYPE_VIDEO && rate.num > 0 && rate.den > 0)
            st->time_base = av_inv_q(rate); // one tick per frame, no empty chunks
        st->avg_frame_rate = in->streams[index]->avg_frame_rate;
        st->r_frame_rate = in->streams[index]->r_frame_rate;
        routes.push_back({input, index, st->index});
    };
    for (std::size_t i = 0; i < inputs.size(); ++i)
        addCopy(static_cast<int>(i), AVMEDIA_TYPE_VIDEO);
    if (m_audio)
        addCopy(0, AVMEDIA_TYPE_AUDIO);

    AVStream* data = avformat_new_stream(out.get(), nullptr);
    if (!data)
        throw SampleGenError("cannot add the data stream to " + path);
    data->codecpar->codec_type = AVMEDIA_TYPE_DATA;
    data->codecpar->codec_id = AV_CODEC_ID_NONE;
    data->time_base = av_d2q(1.0 / m_samplesPerSecond, 1000);

    rc = avio_open(&out->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (rc < 0)
        throw SampleGenError("cannot write " + path + ": " + avError(rc));
    rc = avformat_write_header(out.get(), nullptr);
    if (rc < 0)
        throw SampleGenError("cannot start " + path + ": " + avError(rc));

    // Merge the inputs and the metadata packets in time order.
    std::vector<Packet> pending(inputs.size());
    std::vector<bool> done(inputs.size(), false);
    auto routeOf = [&](int input, int stream) -> const Route* {
        for (const Route& r : routes) {
            if (r.input == input && r.inStream == stream)
                return &r;
        }
        return nullptr;
    };
    auto timeOf = [&](int input, const AVPacket* p) {
        const AVRational tb = inputs[input]->streams[p->stream_index]->time_base;
        const std::int64_t ts = p->dts != AV_NOPTS_VALUE ? p->dts : p->pts;
        return ts == AV_NOPTS_VALUE ? 0.0 : static_cast<double>(ts) * av_q2d(tb);
    };
    auto fill = [&](std::size_t i) {
        while (!done[i] && !pending[i]) {
            Packet p(av_packet_alloc());
            if (av_read_frame(inputs[i].get(), p.get()) < 0) {
                done[i] = true;
                break;
            }
            const Route* route = routeOf(static_cast<int>(i), p->stream_index);
            if (!route)
                continue;
            const std::int64_t ts = p->pts != AV_NOPTS_VALUE ? p->pts : p->dts;
            const AVRational tb = inputs[i]->streams[p->stream_index]->time_base;
            if (ts != AV_NOPTS_VALUE && static_cast<double>(ts) * av_q2d(tb) >= m_seconds - 1e-6)
                continue; // beyond the cut; keep reading the other streams
            pending[i] = std::move(p);
        }
    };
    std::size_t nextData = 0;
    for (;;) {
        int best = -1;
        double bestTime = std::numeric_limits<double>::max();
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            fill(i);
            if (pending[i]) {
                const double t = timeOf(static_cast<int>(i), pending[i].get());
                if (t < bestTime) {
                    bestTime = t;
                    best = static_cast<int>(i);
                }
            }
        }
        const double dataTime = static_cast<double>(nextData) / m_samplesPerSecond;
        if (nextData < m_packets.size() && (best < 0 || dataTime <= bestTime)) {
            Packet p(av_packet_alloc());
            if (av_new_packet(p.get(), static_cast<int>(m_packets[nextData].size())) < 0)
                throw SampleGenError("out of memory");
            std::memcpy(p->data, m_packets[nextData].data(), m_packets[nextData].size());
            p->stream_index = data->index;
            p->pts = p->dts = static_cast<std::int64_t>(nextData);
            p->duration = 1;
            p->flags |= AV_PKT_FLAG_KEY;
            av_packet_rescale_ts(p.get(), av_d2q(1.0 / m_samplesPerSecond, 1000), data->time_base);
            ++nextData;
            rc = av_interleaved_write_frame(out.get(), p.get());
        } else if (best >= 0) {
            Packet p = std::move(pending[best]);
            const Route* route = routeOf(best, p->stream_index);
            const AVRational inTb = inputs[best]->streams[p->stream_index]->time_base;
            p->stream_index = route->outStream;
            if (p->pts == AV_NOPTS_VALUE)
                p->pts = p->dts; // no reordered frames in these clips
            av_packet_rescale_ts(p.get(), inTb, out->streams[route->outStream]->time_base);
            p->pos = -1;
            rc = av_interleaved_write_frame(out.get(), p.get());
        } else {
            break;
        }
        if (rc < 0)
            throw SampleGenError("cannot write a packet to " + path + ": " + avError(rc));
    }
    rc = av_write_trailer(out.get());
    if (rc < 0)
        throw SampleGenError("cannot finish " + path + ": " + avError(rc));
    out.reset();
    if (addDataFormatChunks(path) < 1) {
        std::remove(path.c_str());
        throw SampleGenError("no room for the data stream's format chunk in " + path);
    }
}

int AviWriter::addDataFormatChunks(const std::string& path) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!file)
        return 0;
    // The header list is at the start of the file; 64 KiB holds it.
    std::vector<char> head(64 * 1024);
    file.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(file.gcount()));
    file.clear();
    if (head.size() < 24 || !isId(head, 0, "RIFF") || !isId(head, 8, "AVI ") || !isId(head, 12, "LIST") ||
        !isId(head, 20, "hdrl"))
        return 0;
    const std::size_t hdrlEnd = std::min<std::size_t>(head.size(), 20 + le32(head, 16));
    int fixed = 0;
    for (std::size_t at = 24; at + 8 <= hdrlEnd;) {
        const std::size_t size = le32(head, at + 4);
        const std::size_t end = std::min(hdrlEnd, at + 8 + size + (size & 1));
        if (isId(head, at, "LIST") && at + 12 <= hdrlEnd && isId(head, at + 8, "strl")) {
            bool isData = false;
            bool hasFormat = false;
            for (std::size_t c = at + 12; c + 8 <= end;) {
                const std::size_t csize = le32(head, c + 4);
                if (isId(head, c, "strh") && c + 12 <= end && isId(head, c + 8, "dats"))
                    isData = true;
                else if (isId(head, c, "strf"))
                    hasFormat = true;
                else if (isId(head, c, "JUNK") && isData && !hasFormat && csize >= 8) {
                    std::memcpy(&head[c], "strf", 4);
                    putLe32(head, c + 4, 0);
                    std::memcpy(&head[c + 8], "JUNK", 4);
                    putLe32(head, c + 12, static_cast<std::uint32_t>(csize - 8));
                    hasFormat = true;
                    ++fixed;
                }
                c += 8 + csize + (csize & 1);
            }
        }
        at = end;
    }
    if (fixed > 0) {
        file.seekp(0);
        file.write(head.data(), static_cast<std::streamsize>(head.size()));
    }
    return file ? fixed : 0;
}

} // namespace samplegen
