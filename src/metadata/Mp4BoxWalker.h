#pragma once

#include "metadata/BoundedFile.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <string_view>
#include <vector>

// One box header met by the walk.
struct Mp4Box {
    static constexpr uint64_t kNoResume = std::numeric_limits<uint64_t>::max();

    uint64_t start = 0;  // the walk's box-start offset; field offsets are relative to it
    uint64_t header = 0; // where the header was read
    uint64_t size = 0;   // the 32-bit size, or the 64-bit size when the 32-bit one is 1
    char type[5] = {};
    uint64_t resumeAt = kNoResume; // set by a handler to read the next header elsewhere

    bool Is(std::string_view fourCC) const { return fourCC == std::string_view(type, 4); }
    // True when the n bytes at start + offset lie inside the box.
    bool Holds(uint64_t offset, uint64_t n) const { return offset <= size && n <= size - offset; }
    // The box's end as the walk sees it (start + size, saturated).
    uint64_t End() const { return size > kNoResume - start ? kNoResume : start + size; }
};

// The flat MP4 box walk shared by the container parsers: reads 8-byte headers one after the
// other, stops at the first type it does not know, skips "ftyp" by its 32-bit size, descends
// into "moov", "trak", "mdia", "minf", "stbl", "udta" and "udat" just past their header and
// skips every other box. Header positions only ever move forward, and containers nest at most
// kMaxDepth deep, so no file makes the walk loop.
class Mp4BoxWalker {
public:
    static constexpr size_t kMaxDepth = 16;
    using Handler = std::function<void(Mp4Box&)>;

    Mp4BoxWalker(BoundedFile& file, std::initializer_list<std::string_view> knownTypes);

    // Walks the file from offset 0, calling onBox for every known box except "ftyp".
    void Walk(const Handler& onBox);

    static bool IsContainer(const Mp4Box& box);

private:
    bool IsKnown(const char* type) const;

    BoundedFile& m_file;
    std::vector<std::string_view> m_knownTypes;
};
