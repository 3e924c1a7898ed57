// Writes one recording of a given drive in one of the three layouts from the cached clips.
#pragma once

#include "ClipCache.h"
#include "SampleGen.h"

#include <string>

namespace samplegen {

class RecordingWriter {
public:
    // Checks the options; throws SampleGenError naming the first bad one.
    static void validate(const RecordingOptions& options);
    // The clips a recording with these options reads; clipSeconds >= options.seconds.
    static std::vector<ClipKey> clipsFor(const RecordingOptions& options, int clipSeconds);
    // Writes the recording from already prepared clips of clipSeconds length.
    static void write(const std::string& path, const RecordingOptions& options, const Drive& drive,
                      int clipSeconds);
};

} // namespace samplegen
