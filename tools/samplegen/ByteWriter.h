// A growable byte buffer with big- and little-endian appenders, and MP4 box nesting.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace samplegen {

class ByteWriter {
public:
    std::vector<std::uint8_t>& bytes() { return m_bytes; }
    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }
    std::size_t size() const { return m_bytes.size(); }

    void u8(std::uint8_t v) { m_bytes.push_back(v); }
    void be16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v >> 8));
        u8(static_cast<std::uint8_t>(v));
    }
    void be32(std::uint32_t v) {
        be16(static_cast<std::uint16_t>(v >> 16));
        be16(static_cast<std::uint16_t>(v));
    }
    void be64(std::uint64_t v) {
        be32(static_cast<std::uint32_t>(v >> 32));
        be32(static_cast<std::uint32_t>(v));
    }
    void le32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            u8(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void leFloat(float f) {
        std::uint32_t v;
        std::memcpy(&v, &f, 4);
        le32(v);
    }
    void fourcc(std::string_view type) {
        for (std::size_t i = 0; i < 4; ++i)
            u8(i < type.size() ? static_cast<std::uint8_t>(type[i]) : ' ');
    }
    void append(const void* data, std::size_t size) {
        const auto* p = static_cast<const std::uint8_t*>(data);
        m_bytes.insert(m_bytes.end(), p, p + size);
    }
    void append(std::string_view text) { append(text.data(), text.size()); }
    void append(const std::vector<std::uint8_t>& data) { append(data.data(), data.size()); }
    void zeros(std::size_t count) { m_bytes.insert(m_bytes.end(), count, 0); }

    // Opens a box: writes a placeholder size and the type; returns the box start for closeBox.
    std::size_t openBox(std::string_view type) {
        const std::size_t start = size();
        be32(0);
        fourcc(type);
        return start;
    }
    // A full box: version and 24-bit flags after the header.
    std::size_t openFullBox(std::string_view type, std::uint8_t version, std::uint32_t flags) {
        const std::size_t start = openBox(type);
        be32((static_cast<std::uint32_t>(version) << 24) | (flags & 0xFFFFFF));
        return start;
    }
    void closeBox(std::size_t start) { patchBe32(start, static_cast<std::uint32_t>(size() - start)); }

    void patchBe32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            m_bytes[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    }

private:
    std::vector<std::uint8_t> m_bytes;
};

} // namespace samplegen
