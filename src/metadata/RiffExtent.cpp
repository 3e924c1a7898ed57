#include "metadata/RiffExtent.h"

#include "metadata/BoundedFile.h"

#include <cstring>

namespace {

constexpr std::uint64_t kChunkHeader = 8;
// A RIFF or LIST chunk: its header and the four-character form type.
constexpr std::uint64_t kListHeader = 12;

struct Extent {
    std::uint64_t end = 0;
    // The chunk holds together as its header says: another may follow it.
    bool whole = false;
};

std::uint32_t le32(const unsigned char* b) {
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
           std::uint32_t(b[3]) << 24;
}

// A chunk's identifier is four printable characters ("00dc", "LIST", "idx1", "JUNK");
// zeros or noise where a header should be mark the end of the data.
bool isChunkId(const unsigned char* id) {
    for (int i = 0; i < 4; ++i)
        if (id[i] < 0x20 || id[i] > 0x7e)
            return false;
    return true;
}

// The offset after a chunk at `at` whose header gives `size` (chunks are padded to even sizes).
std::uint64_t chunkEnd(std::uint64_t at, std::uint32_t size) {
    return at + kChunkHeader + size + (size & 1u);
}

// The end of the last chunk in [begin, end) whose header is a chunk's; a chunk that runs past
// `end` keeps everything up to `end`.
std::uint64_t scanChunks(BoundedFile& file, std::uint64_t begin, std::uint64_t end) {
    std::uint64_t at = begin;
    unsigned char header[kChunkHeader];
    while (at + kChunkHeader <= end) {
        if (!file.ReadExactAt(at, header, sizeof header) || !isChunkId(header))
            return at;
        const std::uint64_t next = chunkEnd(at, le32(header + 4));
        if (next > end)
            return end;
        at = next;
    }
    return at;
}

// One top-level RIFF chunk at `at` whose header gives `size`. `first`: the "AVI " chunk,
// which a finished recording closes with its "idx1" index.
Extent walkRiff(BoundedFile& file, std::uint64_t at, std::uint32_t size, bool first) {
    const std::uint64_t declaredEnd = chunkEnd(at, size);
    const bool fits = size >= 4 && declaredEnd <= file.Size();
    const std::uint64_t end = fits ? declaredEnd : file.Size();

    std::uint64_t moviBegin = 0;
    std::uint64_t moviEnd = 0;
    bool indexed = false;
    // A header that is not a chunk's ends the walk: the data stops there.
    bool broken = false;
    std::uint64_t child = at + kListHeader;
    unsigned char header[kListHeader];
    while (child + kChunkHeader <= end) {
        if (!file.ReadExactAt(child, header, kChunkHeader) || !isChunkId(header)) {
            broken = true;
            break;
        }
        const std::uint32_t childSize = le32(header + 4);
        const std::uint64_t next = chunkEnd(child, childSize);
        if (std::memcmp(header, "LIST", 4) == 0 &&
            file.ReadExactAt(child + kChunkHeader, header + kChunkHeader, 4) &&
            std::memcmp(header + kChunkHeader, "movi", 4) == 0) {
            // The recording stopped inside its data (a camera may leave the size 0 until it
            // closes the file): measure the data itself.
            if (childSize < 4 || next > end)
                return {scanChunks(file, child + kListHeader, end), false};
            moviBegin = child + kListHeader;
            moviEnd = next;
        } else if (std::memcmp(header, "idx1", 4) == 0) {
            indexed = true;
        }
        if (next > end)
            return {end, false};
        child = next;
    }
    // Unfinished (never indexed): its header's sizes may name space the camera only reserved.
    if (first && moviEnd != 0 && !indexed) {
        const std::uint64_t data = scanChunks(file, moviBegin, moviEnd);
        if (data < moviEnd)
            return {data, false};
    }
    return {child, fits && !broken};
}

struct Measure {
    std::uint64_t dataEnd = 0;
    std::uint64_t fileSize = 0;
};

std::optional<Measure> measure(const char* path) {
    BoundedFile file;
    if (!file.Open(path))
        return std::nullopt;
    unsigned char header[kListHeader];
    if (!file.ReadExactAt(0, header, sizeof header) || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "AVI ", 4) != 0)
        return std::nullopt;

    Measure result;
    result.fileSize = file.Size();
    std::uint64_t at = 0;
    bool first = true;
    // Each step moves forward by at least a header, so the walk ends.
    while (at + kListHeader <= file.Size()) {
        if (!file.ReadExactAt(at, header, sizeof header) || std::memcmp(header, "RIFF", 4) != 0 ||
            std::memcmp(header + 8, first ? "AVI " : "AVIX", 4) != 0)
            break;
        const std::uint32_t size = le32(header + 4);
        const Extent extent = walkRiff(file, at, size, first);
        result.dataEnd = extent.end;
        if (!extent.whole)
            break;
        at = chunkEnd(at, size);
        first = false;
    }
    return result;
}

} // namespace

std::optional<std::uint64_t> riffDataEnd(const char* path) {
    if (path == nullptr)
        return std::nullopt;
    const std::optional<Measure> m = measure(path);
    if (!m)
        return std::nullopt;
    return m->dataEnd;
}

std::optional<std::uint64_t> riffReadLimit(const char* path) {
    if (path == nullptr)
        return std::nullopt;
    const std::optional<Measure> m = measure(path);
    if (!m || m->dataEnd == 0 || m->dataEnd >= m->fileSize)
        return std::nullopt;
    return m->dataEnd;
}

std::string boundedInputUrl(const std::string& path, std::uint64_t end) {
    // The options end at the first ",,:"; "file:" keeps a path that looks like "scheme:rest" a file.
    return "subfile,,start,0,end," + std::to_string(end) + ",,:file:" + path;
}
