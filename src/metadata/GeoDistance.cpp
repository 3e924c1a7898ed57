#include "metadata/GeoDistance.h"

#include <algorithm>
#include <cmath>

namespace geo {

double geoDistance(double latitude1, double longitude1, double latitude2, double longitude2) {
    const double phi1 = latitude1 * kRadiansPerDegree;
    const double phi2 = latitude2 * kRadiansPerDegree;
    const double halfDeltaPhi = (phi2 - phi1) / 2;
    const double halfDeltaLambda = (longitude2 - longitude1) * kRadiansPerDegree / 2;
    const double sinPhi = std::sin(halfDeltaPhi);
    const double sinLambda = std::sin(halfDeltaLambda);
    const double h = sinPhi * sinPhi + std::cos(phi1) * std::cos(phi2) * sinLambda * sinLambda;
    // Rounding can push h a hair outside 0...1; atan2 stays accurate near the antipodes, where
    // asin(sqrt(h)) loses precision.
    const double a = std::clamp(h, 0.0, 1.0);
    return 2 * kEarthRadiusMetres * std::atan2(std::sqrt(a), std::sqrt(1 - a));
}

} // namespace geo
