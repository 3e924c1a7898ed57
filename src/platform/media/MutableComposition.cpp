#include "platform/media/MutableComposition.h"

std::shared_ptr<MutableComposition> MutableComposition::composition() {
    return std::shared_ptr<MutableComposition>(new MutableComposition());
}

std::shared_ptr<MutableCompositionTrack>
MutableComposition::addMutableTrackWithMediaType(MediaType mediaType, int preferredTrackID) {
    const auto used = [this](int id) {
        for (const auto& track : m_tracks)
            if (track->trackID() == id)
                return true;
        return false;
    };
    int id = preferredTrackID;
    if (id <= 0 || used(id)) {
        id = 1;
        while (used(id))
            ++id;
    }
    auto track = std::make_shared<MutableCompositionTrack>(id, mediaType);
    m_tracks.append(track);
    return track;
}

void MutableComposition::removeTrack(const std::shared_ptr<MutableCompositionTrack>& track) {
    m_tracks.removeAll(track);
}

QList<std::shared_ptr<AssetTrack>> MutableComposition::tracks() const {
    QList<std::shared_ptr<AssetTrack>> list;
    list.reserve(m_tracks.size());
    for (const auto& track : m_tracks)
        list.append(track);
    return list;
}

MediaTime MutableComposition::duration() const {
    MediaTime longest = MediaTime::zero();
    for (const auto& track : m_tracks)
        if (track->hasSource())
            longest = MediaTime::maximum(longest, track->timeRange().end());
    return longest;
}
