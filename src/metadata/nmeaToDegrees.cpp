#include "metadata/nmeaToDegrees.h"

#include <cmath>

float nmeaToDegrees(float x) {
    if (!std::isfinite(x))
        return x;
    const float hundredth = x / 100.0f;
    if (!(std::fabs(hundredth) < 2147483648.0f))
        return std::trunc(hundredth);
    const float degrees = float(int(hundredth));
    return degrees + (x - 100.0f * degrees) / 60.0f;
}
