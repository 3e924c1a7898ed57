#pragma once

#include <cstdint>
#include <optional>

// One metadata sample as the players use it. A position may be in decimal
// degrees or in NMEA ddmm.mmmm form (see nmeaToDegrees). The direction codes
// say whether the map keeps a coordinate's sign (1) or negates it (any other
// value); a packet that carried no direction word keeps the neutral 1.
struct OrvoVideoPacket {
    std::optional<float> gsensor_x;
    std::optional<float> gsensor_y;
    std::optional<float> gsensor_z;
    std::optional<float> gps_speed;
    std::optional<float> gps_latitude;
    std::optional<float> gps_longitude;
    uint32_t gps_dir_lati = 1;
    uint32_t gps_dir_longi = 1;

    bool operator==(const OrvoVideoPacket&) const = default;
};
