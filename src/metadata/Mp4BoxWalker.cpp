#include "metadata/Mp4BoxWalker.h"

#include <algorithm>
#include <cstring>

namespace {

uint64_t saturatingAdd(uint64_t a, uint64_t b) {
    return b > Mp4Box::kNoResume - a ? Mp4Box::kNoResume : a + b;
}

} // namespace

Mp4BoxWalker::Mp4BoxWalker(BoundedFile& file, std::initializer_list<std::string_view> knownTypes)
    : m_file(file), m_knownTypes(knownTypes) {}

bool Mp4BoxWalker::IsKnown(const char* type) const {
    const std::string_view fourCC(type, 4);
    return std::find(m_knownTypes.begin(), m_knownTypes.end(), fourCC) != m_knownTypes.end();
}

bool Mp4BoxWalker::IsContainer(const Mp4Box& box) {
    return box.Is("moov") || box.Is("trak") || box.Is("mdia") || box.Is("minf") || box.Is("stbl") ||
           box.Is("udta") || box.Is("udat");
}

void Mp4BoxWalker::Walk(const Handler& onBox) {
    uint64_t pos = 0;      // where the next header is read
    uint64_t boxStart = 0; // the box-start offset the fields are read from
    bool firstHeader = true;
    uint64_t lastHeader = 0;
    std::vector<uint64_t> openEnds; // ends of the containers entered, innermost last

    // A box start past the end of the file holds no fields: nothing more can be found.
    while (pos < m_file.Size() && boxStart <= m_file.Size()) {
        // A header at or before the previous one would walk the same boxes again.
        if (!firstHeader && pos <= lastHeader)
            break;
        unsigned char header[8];
        if (!m_file.ReadExactAt(pos, header, sizeof header))
            break;
        firstHeader = false;
        lastHeader = pos;

        Mp4Box box;
        std::memcpy(box.type, header + 4, 4);
        if (!IsKnown(box.type))
            break;
        const uint32_t size32 = (uint32_t(header[0]) << 24) | (uint32_t(header[1]) << 16) |
                                (uint32_t(header[2]) << 8) | uint32_t(header[3]);
        while (!openEnds.empty() && openEnds.back() <= pos)
            openEnds.pop_back();

        if (box.Is("ftyp")) {
            if (size32 <= 7)
                break;
            pos = boxStart = saturatingAdd(boxStart, size32);
            continue;
        }

        uint64_t size = size32;
        if (size32 == 1 && !m_file.ReadBE64At(pos + 8, size))
            break;
        box.start = boxStart;
        box.header = pos;
        box.size = size;
        onBox(box);
        if (size <= 7)
            break;

        if (IsContainer(box)) {
            if (openEnds.size() >= kMaxDepth)
                break;
            openEnds.push_back(saturatingAdd(pos, size));
            pos = boxStart = saturatingAdd(boxStart, 8);
        } else {
            pos = box.resumeAt != Mp4Box::kNoResume ? box.resumeAt : saturatingAdd(pos, size);
            boxStart = saturatingAdd(boxStart, size);
        }
    }
}
