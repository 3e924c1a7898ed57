#pragma once

#include <cmath>
#include <cstdlib>
#include <cstring>

// An NMEA ddmm.mmmm (minutesAt 2) or dddmm.mmmm (minutesAt 3) field to decimal degrees:
// the whole degrees of value / 100 plus the minutes written from character minutesAt on.
// A field too short to hold the minutes adds none.
inline double NmeaCoordinate(const char* token, std::size_t minutesAt) {
    const double degrees = std::trunc(std::atof(token) / 100.0);
    const double minutes = std::strlen(token) >= minutesAt ? std::atof(token + minutesAt) : 0.0;
    return degrees + minutes / 60.0;
}

// Knots to km/h.
inline double NmeaSpeedKmh(const char* token) {
    return std::atof(token) * 1.852;
}

// True for the sentence identifiers "$GPRMC" and "$GNRMC".
inline bool NmeaIsRmc(const char* token) {
    return std::strncmp(token, "$GPRMC", 6) == 0 || std::strncmp(token, "$GNRMC", 6) == 0;
}
