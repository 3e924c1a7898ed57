#pragma once

#include <QString>

#include <cstdint>
#include <span>

// Writes the district nearest to a recording's first metadata packet into the
// `location` of the first recording-list entry whose URL path is `path`.
// Positions outside the range of degrees are read as NMEA ddmm.mmmm; the
// direction codes are not applied. A packet without a position, a position
// with no district, or no matching entry changes nothing.
void fillFirstPacketLocation(std::span<const uint8_t> bytes, const QString& path);
