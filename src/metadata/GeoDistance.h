#pragma once

// Distance between two positions on the earth, for the nearest-district lookup.
//
// A haversine great-circle distance on a sphere of the mean earth radius (IUGG, 6371008.8 m).
// Against the ellipsoid it errs by at most about 0.5 %, the same for every candidate row, which
// does not change which row is nearest except where two rows are practically equidistant.

namespace geo {

inline constexpr double kEarthRadiusMetres = 6371008.8;
inline constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

// Metres between (latitude1, longitude1) and (latitude2, longitude2), in degrees. Latitudes
// are expected within -90...90; longitudes may be any finite value.
double geoDistance(double latitude1, double longitude1, double latitude2, double longitude2);

} // namespace geo
