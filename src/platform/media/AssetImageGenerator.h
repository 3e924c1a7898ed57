#pragma once

#include "platform/media/Asset.h"
#include "platform/media/MediaTime.h"

#include <QImage>
#include <QString>

#include <memory>

// Still pictures of an asset's video, decoded with libavcodec: the frame shown at a time
// is the last one whose presentation time is at or before it (within half a millisecond),
// as a player paused there shows it, never the nearest key frame. The picture comes in
// its display size (non-square pixels widened) with the stream's colour matrix and range.
//
// The generator reads the asset's first video track that a file stream feeds (the track a
// player shows); it keeps that file open between requests. Not thread-safe: one generator
// per thread.
class AssetImageGenerator {
public:
    explicit AssetImageGenerator(std::shared_ptr<Asset> asset);
    ~AssetImageGenerator();
    AssetImageGenerator(const AssetImageGenerator&) = delete;
    AssetImageGenerator& operator=(const AssetImageGenerator&) = delete;

    std::shared_ptr<Asset> asset() const { return m_asset; }

    // Turns the picture as the stream's display matrix asks (a phone or camera mounted
    // on its side). Off by default, as the stored picture is what the stream holds.
    bool appliesPreferredTrackTransform = false;

    // What the asset's time zero is in the file's own timestamps, in seconds. A player
    // that counts from the file's start time (libmpv's "demuxer-start-time") hands it here
    // so that a time it reports names the frame it shows.
    double sourceStartTime = 0.0;

    // The frame at `time` (asset time). A null image when there is none, with the reason
    // in `error`; `actualTime` gets the frame's own time.
    QImage copyCGImageAtTime(const MediaTime& time, MediaTime* actualTime = nullptr,
                             QString* error = nullptr);

private:
    struct Decoder;

    std::shared_ptr<Asset> m_asset;
    std::unique_ptr<Decoder> m_decoder;
};
