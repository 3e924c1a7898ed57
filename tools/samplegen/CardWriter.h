// Writes what a camera's memory card holds: channel files of each recording, a short-form
// recording, subfolders and "ver.txt".
#pragma once

#include "SampleGen.h"

namespace samplegen {

class CardWriter {
public:
    explicit CardWriter(const CardOptions& options);
    // Throws SampleGenError.
    CardSummary write(const std::string& dir) const;

    // The name of a recording file: DATE-TIME_CHANNEL_KIND.ext, or DATE-TIME_KIND.ext when
    // channel is empty; the time is camera-local.
    static std::string fileName(std::time_t localTime, const std::string& channel, const std::string& kind,
                                Layout layout);

private:
    CardOptions m_options;
};

} // namespace samplegen
