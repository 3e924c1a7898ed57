#pragma once

// Writes small AVI files for the tests: an optional raw video stream of 2x2
// frames and an optional data stream whose chunks are given byte for byte, so
// that broken layouts (short packets, lying chunk sizes, missing streams) can
// be made exactly.

#include <bit>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace testavi {

using Bytes = std::vector<uint8_t>;

inline void put32(Bytes& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

inline void put16(Bytes& out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

inline void putTag(Bytes& out, const char* tag) {
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(tag[i]));
}

inline void putFloat(Bytes& out, float v) {
    put32(out, std::bit_cast<uint32_t>(v));
}

// A chunk: tag, little-endian size, payload, pad byte to an even length.
inline void putChunk(Bytes& out, const char* tag, const Bytes& payload, uint32_t declaredSize) {
    putTag(out, tag);
    put32(out, declaredSize);
    out.insert(out.end(), payload.begin(), payload.end());
    if (payload.size() % 2)
        out.push_back(0);
}

inline void putChunk(Bytes& out, const char* tag, const Bytes& payload) {
    putChunk(out, tag, payload, uint32_t(payload.size()));
}

inline void putList(Bytes& out, const char* type, const Bytes& body) {
    putTag(out, "LIST");
    put32(out, uint32_t(body.size() + 4));
    putTag(out, type);
    out.insert(out.end(), body.begin(), body.end());
}

// One metadata packet of the 68-byte layout (plus `extra` trailing bytes).
struct Sample {
    float x = 0, y = 0, z = 0;
    uint32_t direction = 0;
    float speed = 0, latitude = 0, longitude = 0;
};

inline Bytes packetBytes(const Sample& s, std::size_t size = 68) {
    Bytes out(40, 0xAB);
    putFloat(out, s.x);
    putFloat(out, s.y);
    putFloat(out, s.z);
    put32(out, s.direction);
    putFloat(out, s.speed);
    putFloat(out, s.latitude);
    putFloat(out, s.longitude);
    out.resize(size, 0xCD);
    return out;
}

struct DataChunk {
    Bytes payload;
    // The size written in the chunk header; -1 means the payload's own size.
    int64_t declaredSize = -1;
};

struct Layout {
    bool video = true;
    bool data = true;
    // Four-character code of the video stream; null for raw 24-bit frames.
    const char* videoCodec = nullptr;
    // Chunks of the data stream, each after one video frame when there is video.
    std::vector<DataChunk> chunks;
    // Cut the finished file to this many bytes (0 keeps it whole).
    std::size_t truncateTo = 0;
};

inline Bytes aviBytes(const Layout& layout) {
    const uint32_t streams = (layout.video ? 1u : 0u) + (layout.data ? 1u : 0u);
    const uint32_t frames = uint32_t(layout.chunks.size());
    Bytes hdrl;
    Bytes avih;
    put32(avih, 100000);
    put32(avih, 0);
    put32(avih, 0);
    put32(avih, 0x10);
    put32(avih, frames);
    put32(avih, 0);
    put32(avih, streams);
    put32(avih, 4096);
    put32(avih, 2);
    put32(avih, 2);
    for (int i = 0; i < 4; ++i)
        put32(avih, 0);
    putChunk(hdrl, "avih", avih);

    auto streamHeader = [&](const char* kind, const char* handler) {
        Bytes strh;
        putTag(strh, kind);
        if (handler)
            putTag(strh, handler);
        else
            put32(strh, 0);
        put32(strh, 0);
        put16(strh, 0);
        put16(strh, 0);
        put32(strh, 0);
        put32(strh, 1);  // scale
        put32(strh, 10); // rate
        put32(strh, 0);
        put32(strh, frames);
        put32(strh, 4096);
        put32(strh, 0xFFFFFFFF);
        put32(strh, 0);
        for (int i = 0; i < 4; ++i)
            put16(strh, 0);
        return strh;
    };
    if (layout.video) {
        Bytes strl;
        putChunk(strl, "strh", streamHeader("vids", layout.videoCodec ? layout.videoCodec : "DIB "));
        Bytes bih;
        put32(bih, 40);
        put32(bih, 2);
        put32(bih, 2);
        put16(bih, 1);
        put16(bih, 24);
        if (layout.videoCodec)
            putTag(bih, layout.videoCodec);
        else
            put32(bih, 0);
        put32(bih, 16);
        for (int i = 0; i < 4; ++i)
            put32(bih, 0);
        putChunk(strl, "strf", bih);
        putList(hdrl, "strl", strl);
    }
    if (layout.data) {
        Bytes strl;
        putChunk(strl, "strh", streamHeader("dats", nullptr));
        // An empty format chunk makes libavformat report a data stream.
        putChunk(strl, "strf", {});
        putList(hdrl, "strl", strl);
    }

    Bytes movi;
    const char* dataTag = layout.video ? "01dc" : "00dc";
    for (const DataChunk& chunk : layout.chunks) {
        if (layout.video)
            putChunk(movi, "00db", Bytes(16, 0x80));
        if (layout.data) {
            const uint32_t declared =
                chunk.declaredSize < 0 ? uint32_t(chunk.payload.size()) : uint32_t(chunk.declaredSize);
            putChunk(movi, dataTag, chunk.payload, declared);
        }
    }

    Bytes body;
    putTag(body, "AVI ");
    putList(body, "hdrl", hdrl);
    putList(body, "movi", movi);
    Bytes file;
    putTag(file, "RIFF");
    put32(file, uint32_t(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    if (layout.truncateTo != 0 && layout.truncateTo < file.size())
        file.resize(layout.truncateTo);
    return file;
}

inline void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline Layout samples(const std::vector<Sample>& list) {
    Layout layout;
    for (const Sample& s : list)
        layout.chunks.push_back({packetBytes(s)});
    return layout;
}

} // namespace testavi
