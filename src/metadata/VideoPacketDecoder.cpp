#include "metadata/VideoPacketDecoder.h"

#include "metadata/ParserOutput.h"
#include <bit>
#include <cstdio>

namespace {

constexpr std::size_t kSensorXOffset = 40;
constexpr std::size_t kSensorYOffset = 44;
constexpr std::size_t kSensorZOffset = 48;
constexpr std::size_t kDirectionOffset = 52;
constexpr std::size_t kSpeedOffset = 56;
constexpr std::size_t kLatitudeOffset = 60;
constexpr std::size_t kLongitudeOffset = 64;

// The 4-byte field at `offset`, none when it does not lie wholly inside the packet.
std::optional<uint32_t> fieldAt(std::span<const uint8_t> bytes, std::size_t offset) {
    if (bytes.size() < offset + 4)
        return std::nullopt;
    return uint32FromBytes(bytes.subspan(offset, 4));
}

std::optional<float> floatAt(std::span<const uint8_t> bytes, std::size_t offset) {
    if (auto bits = fieldAt(bytes, offset))
        return std::bit_cast<float>(*bits);
    return std::nullopt;
}

} // namespace

std::optional<uint32_t> uint32FromBytes(std::span<const uint8_t> bytes) {
    if (bytes.size() > 4) {
        ParserOutput::puts("row data count less then 4");
        return std::nullopt;
    }
    uint8_t padded[4] = {0, 0, 0, 0};
    const std::size_t pad = 4 - bytes.size();
    for (std::size_t i = 0; i < bytes.size(); ++i)
        padded[pad + i] = bytes[i];
    return uint32_t(padded[0]) | uint32_t(padded[1]) << 8 | uint32_t(padded[2]) << 16 |
           uint32_t(padded[3]) << 24;
}

OrvoVideoPacket decodeVideoPacket(std::span<const uint8_t> bytes) {
    OrvoVideoPacket packet;
    packet.gsensor_x = floatAt(bytes, kSensorXOffset);
    packet.gsensor_y = floatAt(bytes, kSensorYOffset);
    packet.gsensor_z = floatAt(bytes, kSensorZOffset);
    if (auto direction = fieldAt(bytes, kDirectionOffset)) {
        packet.gps_dir_lati = *direction & 0x3;
        packet.gps_dir_longi = (*direction >> 2) & 0x3;
    }
    packet.gps_speed = floatAt(bytes, kSpeedOffset);
    packet.gps_latitude = floatAt(bytes, kLatitudeOffset);
    packet.gps_longitude = floatAt(bytes, kLongitudeOffset);
    return packet;
}
