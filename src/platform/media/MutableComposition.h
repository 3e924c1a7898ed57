#pragma once

#include "platform/media/Asset.h"
#include "platform/media/MutableCompositionTrack.h"

#include <memory>

// An asset made of tracks of other assets, each placed at time zero, so that a video track
// of one file can play with the sound of another. A player shows the first video track that
// holds media and plays the first sound track that does.
class MutableComposition : public Asset {
public:
    static std::shared_ptr<MutableComposition> composition();

    // Adds an empty track. A preferred identifier of 0 (or one already used) lets the
    // composition number the track itself.
    std::shared_ptr<MutableCompositionTrack> addMutableTrackWithMediaType(MediaType mediaType,
                                                                          int preferredTrackID = 0);
    // Removes a track added earlier; others keep their identifiers.
    void removeTrack(const std::shared_ptr<MutableCompositionTrack>& track);

    QList<std::shared_ptr<AssetTrack>> tracks() const override;
    // The end of the longest track; zero while no track holds media.
    MediaTime duration() const override;
    bool isComposition() const override { return true; }

private:
    MutableComposition() = default;

    QList<std::shared_ptr<MutableCompositionTrack>> m_tracks;
};
