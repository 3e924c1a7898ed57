#pragma once

#include "platform/media/AssetTrack.h"

#include <memory>

// A track of a MutableComposition. It holds one segment: a time range of a track of another
// asset (a file's stream, or a composition track fed by one) placed at time zero.
class MutableCompositionTrack : public AssetTrack {
public:
    MutableCompositionTrack(int trackID, MediaType mediaType);

    // Places `timeRange` of `track` at `startTime` of the composition. The range must start at
    // zero and `startTime` be zero: every track of a composition starts with it. A range longer
    // than the source track is shortened to it. Returns false with a description in `error`
    // (when given) for a missing, empty or differently typed source, an invalid range or a
    // second insertion.
    bool insertTimeRange(const MediaTimeRange& timeRange, const std::shared_ptr<AssetTrack>& track,
                         const MediaTime& startTime, QString* error = nullptr);
};
