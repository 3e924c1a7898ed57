// Makes a plausible drive (a route of fixes at road speed, G-sensor values with a bump) and
// encodes its samples in the forms the recordings carry them.
#pragma once

#include "SampleGen.h"

#include <random>

namespace samplegen {

class DriveGenerator {
public:
    explicit DriveGenerator(const RecordingOptions& options);

    // The drive for the options given to the constructor, with values as the layout's parser
    // reads them back.
    Drive make();

    // Converts decimal degrees to the ddmm.mmmm text of an RMC latitude (2 degree digits) or
    // longitude (3 degree digits), and back the way the MP4 parsers read it.
    static std::string nmeaField(double degrees, int degreeDigits);
    static double nmeaFieldToDegrees(const std::string& field, int degreeDigits);

    static std::string rmcSentence(const Fix& fix, std::time_t utc, double fraction, bool valid);
    static std::string dataTrackSample(const Fix& fix, const Accel& accel, const std::string& sentence);
    static std::vector<std::uint8_t> aviPacket(const Fix& fix, const Accel& accel,
                                               std::uint32_t directionWord, std::time_t localTime,
                                               std::uint32_t sequence);
    static std::string accelText(const Accel& accel);
    // The camera-local start time used when the options give none: 2024-11-08 08:30:00.
    static std::time_t defaultStartTime();

private:
    double uniform(double lo, double hi);

    RecordingOptions m_options;
    std::mt19937 m_random;
};

} // namespace samplegen
