#include "Mp4Reader.h"

#include "SampleGen.h"

#include <fstream>
#include <iterator>

namespace samplegen {

namespace {

std::uint32_t be32At(const std::vector<std::uint8_t>& d, std::size_t at) {
    if (at + 4 > d.size())
        throw SampleGenError("MP4 box field beyond the end of the file");
    return (std::uint32_t(d[at]) << 24) | (std::uint32_t(d[at + 1]) << 16) | (std::uint32_t(d[at + 2]) << 8) |
           std::uint32_t(d[at + 3]);
}

std::uint64_t be64At(const std::vector<std::uint8_t>& d, std::size_t at) {
    return (std::uint64_t(be32At(d, at)) << 32) | be32At(d, at + 4);
}

struct Box {
    std::string type;
    std::size_t start = 0;
    std::size_t payload = 0; // first byte after the header
    std::size_t end = 0;
};

// Reads the box header at `at`; the box must end within `limit`.
Box boxAt(const std::vector<std::uint8_t>& d, std::size_t at, std::size_t limit) {
    Box box;
    box.start = at;
    std::uint64_t size = be32At(d, at);
    box.type.assign(reinterpret_cast<const char*>(&d[at + 4]), 4);
    box.payload = at + 8;
    if (size == 1) {
        size = be64At(d, at + 8);
        box.payload = at + 16;
    } else if (size == 0) {
        size = limit - at;
    }
    if (size < box.payload - at || at + size > limit)
        throw SampleGenError("MP4 box \"" + box.type + "\" has a bad size");
    box.end = at + static_cast<std::size_t>(size);
    return box;
}

} // namespace

Mp4Reader::Mp4Reader(const std::string& path) : m_path(path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw SampleGenError("cannot open " + path);
    m_data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    walk(0, m_data.size(), 0, nullptr);
    for (const Mp4Track& track : m_tracks) {
        for (const Mp4Sample& sample : track.samples) {
            if (sample.offset + sample.size > m_data.size())
                throw SampleGenError(path + ": a sample lies beyond the end of the file");
        }
    }
}

const Mp4Track* Mp4Reader::track(const std::string& handler) const {
    for (const Mp4Track& t : m_tracks) {
        if (t.handler == handler && !t.samples.empty())
            return &t;
    }
    return nullptr;
}

void Mp4Reader::walk(std::size_t begin, std::size_t end, int depth, Mp4Track* current) {
    if (depth > 8)
        return;
    std::size_t at = begin;
    while (at + 8 <= end) {
        const Box box = boxAt(m_data, at, end);
        if (box.end - box.payload < 24) {
            at = box.end; // too small for any field read below
            continue;
        }
        if (box.type == "moov" || box.type == "mdia" || box.type == "minf") {
            walk(box.payload, box.end, depth + 1, current);
        } else if (box.type == "trak") {
            m_tracks.emplace_back();
            walk(box.payload, box.end, depth + 1, &m_tracks.back());
        } else if (current && box.type == "tkhd") {
            const bool v1 = m_data[box.payload] == 1;
            const std::size_t wh = box.payload + (v1 ? 88 : 76);
            current->width = be32At(m_data, wh);
            current->height = be32At(m_data, wh + 4);
        } else if (current && box.type == "mdhd") {
            const bool v1 = m_data[box.payload] == 1;
            current->timescale = be32At(m_data, box.payload + (v1 ? 20 : 12));
            current->language =
                static_cast<std::uint16_t>(be32At(m_data, box.payload + (v1 ? 32 : 20)) >> 16);
        } else if (current && box.type == "hdlr") {
            current->handler.assign(reinterpret_cast<const char*>(&m_data[box.payload + 8]), 4);
        } else if (current && box.type == "stbl") {
            readSampleTable(box.payload, box.end, *current);
        }
        at = box.end;
    }
}

void Mp4Reader::readSampleTable(std::size_t begin, std::size_t end, Mp4Track& track) {
    std::vector<std::uint32_t> sizes;
    std::vector<std::uint64_t> chunkOffsets;
    std::vector<std::uint32_t> durations;
    std::vector<std::int32_t> compositionOffsets;
    std::vector<std::uint32_t> syncSamples;
    struct ChunkRun {
        std::uint32_t firstChunk, samplesPerChunk;
    };
    std::vector<ChunkRun> runs;

    for (std::size_t at = begin; at + 8 <= end;) {
        const Box box = boxAt(m_data, at, end);
        const std::size_t p = box.payload;
        if (box.type == "stsd") {
            track.stsd.assign(m_data.begin() + box.start, m_data.begin() + box.end);
        } else if (box.type == "stsz") {
            const std::uint32_t fixed = be32At(m_data, p + 4);
            const std::uint32_t count = be32At(m_data, p + 8);
            if (count > (box.end - p) * 8)
                throw SampleGenError("bad stsz");
            for (std::uint32_t i = 0; i < count; ++i)
                sizes.push_back(fixed ? fixed : be32At(m_data, p + 12 + 4 * i));
        } else if (box.type == "stco" || box.type == "co64") {
            const std::uint32_t count = be32At(m_data, p + 4);
            const bool wide = box.type == "co64";
            if (count > box.end - p)
                throw SampleGenError("bad stco");
            for (std::uint32_t i = 0; i < count; ++i)
                chunkOffsets.push_back(wide ? be64At(m_data, p + 8 + 8 * i) : be32At(m_data, p + 8 + 4 * i));
        } else if (box.type == "stsc") {
            const std::uint32_t count = be32At(m_data, p + 4);
            if (count > box.end - p)
                throw SampleGenError("bad stsc");
            for (std::uint32_t i = 0; i < count; ++i)
                runs.push_back({be32At(m_data, p + 8 + 12 * i), be32At(m_data, p + 12 + 12 * i)});
        } else if (box.type == "stts") {
            const std::uint32_t count = be32At(m_data, p + 4);
            if (count > box.end - p)
                throw SampleGenError("bad stts");
            for (std::uint32_t i = 0; i < count; ++i) {
                const std::uint32_t n = be32At(m_data, p + 8 + 8 * i);
                const std::uint32_t delta = be32At(m_data, p + 12 + 8 * i);
                if (n > 10'000'000)
                    throw SampleGenError("bad stts");
                durations.insert(durations.end(), n, delta);
            }
        } else if (box.type == "ctts") {
            track.hasCompositionOffsets = true;
            const std::uint32_t count = be32At(m_data, p + 4);
            if (count > box.end - p)
                throw SampleGenError("bad ctts");
            for (std::uint32_t i = 0; i < count; ++i) {
                const std::uint32_t n = be32At(m_data, p + 8 + 8 * i);
                const auto offset = static_cast<std::int32_t>(be32At(m_data, p + 12 + 8 * i));
                if (n > 10'000'000)
                    throw SampleGenError("bad ctts");
                compositionOffsets.insert(compositionOffsets.end(), n, offset);
            }
        } else if (box.type == "stss") {
            track.hasSyncTable = true;
            const std::uint32_t count = be32At(m_data, p + 4);
            if (count > box.end - p)
                throw SampleGenError("bad stss");
            for (std::uint32_t i = 0; i < count; ++i)
                syncSamples.push_back(be32At(m_data, p + 8 + 4 * i));
        }
        at = box.end;
    }

    // Expand the chunk table into per-sample offsets.
    track.samples.resize(sizes.size());
    std::size_t sample = 0;
    for (std::size_t chunk = 0; chunk < chunkOffsets.size() && sample < sizes.size(); ++chunk) {
        std::uint32_t perChunk = 0;
        for (const ChunkRun& run : runs) {
            if (run.firstChunk <= chunk + 1)
                perChunk = run.samplesPerChunk;
        }
        std::uint64_t offset = chunkOffsets[chunk];
        for (std::uint32_t i = 0; i < perChunk && sample < sizes.size(); ++i, ++sample) {
            track.samples[sample].offset = offset;
            track.samples[sample].size = sizes[sample];
            offset += sizes[sample];
        }
    }
    if (sample != sizes.size() || durations.size() < sizes.size())
        throw SampleGenError(m_path + ": inconsistent sample tables");
    std::uint64_t time = 0;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        Mp4Sample& s = track.samples[i];
        s.duration = durations[i];
        s.decodeTime = time;
        time += durations[i];
        s.compositionOffset = i < compositionOffsets.size() ? compositionOffsets[i] : 0;
        s.sync = !track.hasSyncTable;
    }
    for (std::uint32_t n : syncSamples) {
        if (n >= 1 && n <= sizes.size())
            track.samples[n - 1].sync = true;
    }
}

} // namespace samplegen
