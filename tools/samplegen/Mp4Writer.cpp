#include "Mp4Writer.h"

#include "ByteWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace samplegen {

namespace {

constexpr std::uint32_t kMovieTimescale = 1000;
constexpr std::uint32_t kDataTimescale = 1000;
constexpr std::uint64_t kMacEpochOffset = 2082844800; // seconds from 1904 to 1970
// The data track: handler "meta", a null media header, and a plain sample entry of the camera's own type.
constexpr const char* kDataHandler = "meta";
constexpr const char* kDataSampleEntry = "camd";

void writeMatrix(ByteWriter& w) {
    const std::uint32_t matrix[9] = {0x00010000, 0, 0, 0, 0x00010000, 0, 0, 0, 0x40000000};
    for (std::uint32_t v : matrix)
        w.be32(v);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

Mp4Writer::Mp4Writer(const Mp4Reader& source, const Mp4Track* video, const Mp4Track* audio, double seconds)
    : m_source(source), m_video(video), m_audio(audio), m_seconds(seconds) {
    if (!m_video)
        throw SampleGenError("the source clip has no video");
}

void Mp4Writer::setDataSamples(std::vector<std::string> samples, double samplesPerSecond) {
    m_dataSamples = std::move(samples);
    m_samplesPerSecond = samplesPerSecond;
}

void Mp4Writer::setBoxes(std::vector<std::uint8_t> gpsr, std::vector<std::uint8_t> sens) {
    m_gpsr = std::move(gpsr);
    m_sens = std::move(sens);
    m_hasBoxes = true;
}

std::uint64_t Mp4Writer::trackDurationMs(const TrackPlan& plan) const {
    if (!plan.source) {
        const auto delta = static_cast<std::uint64_t>(std::llround(kDataTimescale / m_samplesPerSecond));
        return plan.sampleCount * delta * kMovieTimescale / kDataTimescale;
    }
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < plan.sampleCount; ++i)
        total += plan.source->samples[i].duration;
    return total * kMovieTimescale / plan.source->timescale;
}

void Mp4Writer::writeTrack(ByteWriter& w, const TrackPlan& plan, std::uint32_t trackId,
                           std::uint64_t base) const {
    const Mp4Track* src = plan.source;
    const bool isVideo = src && src->handler == "vide";
    const bool isAudio = src && src->handler == "soun";
    const auto created =
        static_cast<std::uint32_t>(static_cast<std::uint64_t>(m_creationTime) + kMacEpochOffset);
    const std::uint32_t timescale = src ? src->timescale : kDataTimescale;
    const auto dataDelta = static_cast<std::uint32_t>(std::llround(kDataTimescale / m_samplesPerSecond));
    std::uint64_t mediaDuration = 0;
    if (src) {
        for (std::size_t i = 0; i < plan.sampleCount; ++i)
            mediaDuration += src->samples[i].duration;
    } else {
        mediaDuration = plan.sampleCount * dataDelta;
    }

    const std::size_t trak = w.openBox("trak");
    {
        const std::size_t tkhd = w.openFullBox("tkhd", 0, 3);
        w.be32(created);
        w.be32(created);
        w.be32(trackId);
        w.be32(0);
        w.be32(static_cast<std::uint32_t>(trackDurationMs(plan)));
        w.zeros(8);
        w.be16(0);                    // layer
        w.be16(isAudio ? 1 : 0);      // alternate group
        w.be16(isAudio ? 0x0100 : 0); // volume
        w.be16(0);
        writeMatrix(w);
        w.be32(isVideo ? src->width : 0);
        w.be32(isVideo ? src->height : 0);
        w.closeBox(tkhd);
    }
    const std::size_t mdia = w.openBox("mdia");
    {
        const std::size_t mdhd = w.openFullBox("mdhd", 0, 0);
        w.be32(created);
        w.be32(created);
        w.be32(timescale);
        w.be32(static_cast<std::uint32_t>(mediaDuration));
        w.be16(src ? src->language : 0x55C4);
        w.be16(0);
        w.closeBox(mdhd);

        const std::size_t hdlr = w.openFullBox("hdlr", 0, 0);
        w.be32(0);
        w.fourcc(isVideo ? "vide" : isAudio ? "soun" : kDataHandler);
        w.zeros(12);
        w.append(isVideo ? "VideoHandler" : isAudio ? "SoundHandler" : "DataHandler");
        w.u8(0);
        w.closeBox(hdlr);
    }
    const std::size_t minf = w.openBox("minf");
    if (isVideo) {
        const std::size_t vmhd = w.openFullBox("vmhd", 0, 1);
        w.zeros(8);
        w.closeBox(vmhd);
    } else if (isAudio) {
        const std::size_t smhd = w.openFullBox("smhd", 0, 0);
        w.zeros(4);
        w.closeBox(smhd);
    } else {
        w.closeBox(w.openFullBox("nmhd", 0, 0));
    }
    {
        const std::size_t dinf = w.openBox("dinf");
        const std::size_t dref = w.openFullBox("dref", 0, 0);
        w.be32(1);
        w.closeBox(w.openFullBox("url ", 0, 1));
        w.closeBox(dref);
        w.closeBox(dinf);
    }
    const std::size_t stbl = w.openBox("stbl");
    // Sample descriptions.
    if (src) {
        w.append(src->stsd);
    } else {
        const std::size_t stsd = w.openFullBox("stsd", 0, 0);
        w.be32(1);
        const std::size_t entry = w.openBox(kDataSampleEntry);
        w.zeros(6);
        w.be16(1); // data reference index
        w.closeBox(entry);
        w.closeBox(stsd);
    }
    // Decoding times, run-length coded.
    {
        const std::size_t stts = w.openFullBox("stts", 0, 0);
        const std::size_t countAt = w.size();
        w.be32(0);
        std::uint32_t entries = 0;
        if (src) {
            std::size_t i = 0;
            while (i < plan.sampleCount) {
                std::size_t j = i;
                while (j < plan.sampleCount && src->samples[j].duration == src->samples[i].duration)
                    ++j;
                w.be32(static_cast<std::uint32_t>(j - i));
                w.be32(src->samples[i].duration);
                ++entries;
                i = j;
            }
        } else {
            w.be32(static_cast<std::uint32_t>(plan.sampleCount));
            w.be32(dataDelta);
            entries = 1;
        }
        w.patchBe32(countAt, entries);
        w.closeBox(stts);
    }
    if (src && src->hasSyncTable) {
        const std::size_t stss = w.openFullBox("stss", 0, 0);
        const std::size_t countAt = w.size();
        w.be32(0);
        std::uint32_t entries = 0;
        for (std::size_t i = 0; i < plan.sampleCount; ++i) {
            if (src->samples[i].sync) {
                w.be32(static_cast<std::uint32_t>(i + 1));
                ++entries;
            }
        }
        w.patchBe32(countAt, entries);
        w.closeBox(stss);
    }
    if (src && src->hasCompositionOffsets) {
        const std::size_t ctts = w.openFullBox("ctts", 0, 0);
        w.be32(static_cast<std::uint32_t>(plan.sampleCount));
        for (std::size_t i = 0; i < plan.sampleCount; ++i) {
            w.be32(1);
            w.be32(static_cast<std::uint32_t>(src->samples[i].compositionOffset));
        }
        w.closeBox(ctts);
    }
    {
        const std::size_t stsc = w.openFullBox("stsc", 0, 0);
        const std::size_t countAt = w.size();
        w.be32(0);
        std::uint32_t entries = 0;
        for (std::size_t c = 0; c < plan.chunkSampleCounts.size(); ++c) {
            if (c == 0 || plan.chunkSampleCounts[c] != plan.chunkSampleCounts[c - 1]) {
                w.be32(static_cast<std::uint32_t>(c + 1));
                w.be32(plan.chunkSampleCounts[c]);
                w.be32(1);
                ++entries;
            }
        }
        w.patchBe32(countAt, entries);
        w.closeBox(stsc);
    }
    {
        // Always one size per sample: the data-track walk reads the entries after the count.
        const std::size_t stsz = w.openFullBox("stsz", 0, 0);
        w.be32(0);
        w.be32(static_cast<std::uint32_t>(plan.sampleCount));
        for (std::size_t i = 0; i < plan.sampleCount; ++i)
            w.be32(src ? src->samples[i].size : static_cast<std::uint32_t>(m_dataSamples[i].size()));
        w.closeBox(stsz);
    }
    {
        const std::size_t stco = w.openFullBox("stco", 0, 0);
        w.be32(static_cast<std::uint32_t>(plan.chunkOffsets.size()));
        for (std::uint64_t offset : plan.chunkOffsets) {
            if (base + offset > 0xFFFFFFFFull)
                throw SampleGenError("recording too large for 32-bit chunk offsets");
            w.be32(static_cast<std::uint32_t>(base + offset));
        }
        w.closeBox(stco);
    }
    w.closeBox(stbl);
    w.closeBox(minf);
    w.closeBox(mdia);
    w.closeBox(trak);
}

std::vector<std::uint8_t> Mp4Writer::buildMoov(const std::vector<TrackPlan>& plans,
                                               std::uint64_t base) const {
    ByteWriter w;
    const auto created =
        static_cast<std::uint32_t>(static_cast<std::uint64_t>(m_creationTime) + kMacEpochOffset);
    std::uint64_t duration = 0;
    for (const TrackPlan& plan : plans)
        duration = std::max(duration, trackDurationMs(plan));
    const std::size_t moov = w.openBox("moov");
    const std::size_t mvhd = w.openFullBox("mvhd", 0, 0);
    w.be32(created);
    w.be32(created);
    w.be32(kMovieTimescale);
    w.be32(static_cast<std::uint32_t>(duration));
    w.be32(0x00010000); // rate
    w.be16(0x0100);     // volume
    w.zeros(10);
    writeMatrix(w);
    w.zeros(24);
    w.be32(static_cast<std::uint32_t>(plans.size() + 1)); // next track id
    w.closeBox(mvhd);
    for (std::size_t i = 0; i < plans.size(); ++i)
        writeTrack(w, plans[i], static_cast<std::uint32_t>(i + 1), base);
    w.closeBox(moov);
    return std::move(w.bytes());
}

void Mp4Writer::write(const std::string& path) const {
    // Plan the media data: video and sound interleaved in one-second chunks, then the
    // metadata samples, one per chunk, at the very end of the file.
    std::vector<TrackPlan> plans;
    auto countBefore = [this](const Mp4Track* track) {
        const auto limit = static_cast<std::uint64_t>(std::llround(m_seconds * track->timescale));
        std::size_t n = 0;
        while (n < track->samples.size() && track->samples[n].decodeTime < limit)
            ++n;
        return std::max<std::size_t>(n, 1);
    };
    plans.push_back({m_video, countBefore(m_video), {}, {}});
    if (m_audio)
        plans.push_back({m_audio, countBefore(m_audio), {}, {}});

    struct Piece {
        const Mp4Track* track;
        std::size_t first, count;
    };
    std::vector<Piece> order;
    std::uint64_t cursor = 0;
    std::vector<std::size_t> next(plans.size(), 0);
    for (std::uint64_t second = 1;; ++second) {
        bool any = false;
        for (std::size_t t = 0; t < plans.size(); ++t) {
            TrackPlan& plan = plans[t];
            const Mp4Track* track = plan.source;
            const std::uint64_t limit = second * track->timescale;
            std::size_t end = next[t];
            std::uint64_t bytes = 0;
            while (end < plan.sampleCount && track->samples[end].decodeTime < limit)
                bytes += track->samples[end++].size;
            if (end > next[t]) {
                plan.chunkOffsets.push_back(cursor);
                plan.chunkSampleCounts.push_back(static_cast<std::uint32_t>(end - next[t]));
                order.push_back({track, next[t], end - next[t]});
                cursor += bytes;
                next[t] = end;
            }
            any = any || next[t] < plan.sampleCount;
        }
        if (!any)
            break;
    }
    if (!m_dataSamples.empty()) {
        TrackPlan data;
        data.sampleCount = m_dataSamples.size();
        for (const std::string& sample : m_dataSamples) {
            data.chunkOffsets.push_back(cursor);
            data.chunkSampleCounts.push_back(1);
            cursor += sample.size();
        }
        plans.push_back(std::move(data));
    }

    ByteWriter head;
    {
        const std::size_t ftyp = head.openBox("ftyp");
        head.fourcc("mp42");
        head.be32(0);
        head.fourcc("isom");
        head.fourcc("mp42");
        head.closeBox(ftyp);
    }
    ByteWriter boxes;
    if (m_hasBoxes) {
        std::size_t b = boxes.openBox("GPSR");
        boxes.append(m_gpsr);
        boxes.closeBox(b);
        b = boxes.openBox("SENS");
        boxes.append(m_sens);
        boxes.closeBox(b);
    }
    const std::uint64_t mdatHeader = 8;
    const std::size_t moovSize = buildMoov(plans, 0).size();
    const std::uint64_t base = head.size() + moovSize + boxes.size() + mdatHeader;
    if (base + cursor > 0xFFFFFFFFull)
        throw SampleGenError("recording too large");
    const std::vector<std::uint8_t> moov = buildMoov(plans, base);
    head.append(moov);
    head.append(boxes.bytes());
    head.be32(static_cast<std::uint32_t>(mdatHeader + cursor));
    head.fourcc("mdat");

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file)
        throw SampleGenError("cannot write " + path);
    bool ok = std::fwrite(head.bytes().data(), 1, head.size(), file.get()) == head.size();
    const std::vector<std::uint8_t>& src = m_source.data();
    for (const Piece& piece : order) {
        for (std::size_t i = piece.first; ok && i < piece.first + piece.count; ++i) {
            const Mp4Sample& s = piece.track->samples[i];
            ok = std::fwrite(src.data() + s.offset, 1, s.size, file.get()) == s.size;
        }
    }
    for (const std::string& sample : m_dataSamples)
        ok = ok && std::fwrite(sample.data(), 1, sample.size(), file.get()) == sample.size();
    ok = std::fflush(file.get()) == 0 && ok;
    if (!ok) {
        file.reset();
        std::remove(path.c_str());
        throw SampleGenError("cannot write " + path);
    }
}

} // namespace samplegen
