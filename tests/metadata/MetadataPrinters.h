#pragma once

// How GoogleTest prints the metadata value types in failure messages.

#include "metadata/GpsData.h"
#include "metadata/OrvoVideoPacket.h"
#include "metadata/SensorData.h"

#include <optional>
#include <ostream>

inline std::ostream& printOptional(std::ostream& out, const std::optional<float>& v) {
    return v ? out << *v : out << "none";
}

inline void PrintTo(const OrvoVideoPacket& p, std::ostream* out) {
    *out << "{x ";
    printOptional(*out, p.gsensor_x) << ", y ";
    printOptional(*out, p.gsensor_y) << ", z ";
    printOptional(*out, p.gsensor_z) << ", speed ";
    printOptional(*out, p.gps_speed) << ", lat ";
    printOptional(*out, p.gps_latitude) << ", lng ";
    printOptional(*out, p.gps_longitude) << ", dir " << p.gps_dir_lati << "/" << p.gps_dir_longi << "}";
}

inline void PrintTo(const GpsData& g, std::ostream* out) {
    *out << "{speed " << g.getSpeed() << ", lat " << g.getLat() << ", lng " << g.getLng() << "}";
}

inline void PrintTo(const SensorData& s, std::ostream* out) {
    *out << "{x " << s.getX() << ", y " << s.getY() << ", z " << s.getZ() << "}";
}
