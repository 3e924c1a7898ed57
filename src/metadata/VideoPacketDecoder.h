#pragma once

#include "metadata/OrvoVideoPacket.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// The 68-byte metadata packet of an AVI data stream (little-endian):
// 40 bytes not read, then G-sensor x, y, z (floats at 40, 44, 48), the
// direction word at 52 (bits 0-1 latitude code, bits 2-3 longitude code),
// speed, latitude and longitude (floats at 56, 60, 64).
inline constexpr std::size_t kVideoPacketSize = 68;

// Up to 4 bytes read little-endian after zero bytes put in front to make 4;
// more than 4 bytes print "row data count less then 4" and give none.
std::optional<uint32_t> uint32FromBytes(std::span<const uint8_t> bytes);

// Decodes a metadata packet. A packet shorter than 68 bytes decodes only the
// fields that lie wholly inside it; the others stay none (direction codes 1).
OrvoVideoPacket decodeVideoPacket(std::span<const uint8_t> bytes);
