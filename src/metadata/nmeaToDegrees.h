#pragma once

// An NMEA ddmm.mmmm (or dddmm.mmmm) value to decimal degrees, in 32-bit
// floats: 3723.5 gives 37 + 23.5 / 60. A value that is not finite is returned
// unchanged; one whose hundredth does not fit an int gives that hundredth
// truncated (its minutes are below the float's precision there).
float nmeaToDegrees(float x);
