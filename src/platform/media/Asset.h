#pragma once

#include "platform/media/AssetTrack.h"
#include "platform/media/MediaTime.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <memory>

// A piece of timed media: a file whose tracks are probed with libavformat on first use, or a
// composition of tracks of several files (MutableComposition). A file that cannot be opened
// or holds no media gives an asset with no tracks and a zero duration.
class Asset {
public:
    // The asset of a local file URL (a plain path is taken as a file).
    static std::shared_ptr<Asset> assetWithUrl(const QUrl& url);

    virtual ~Asset();
    Asset(const Asset&) = delete;
    Asset& operator=(const Asset&) = delete;

    // The file's URL; empty for a composition.
    QUrl url() const { return m_url; }
    // Every track, in stream order for a file, in the order added for a composition.
    virtual QList<std::shared_ptr<AssetTrack>> tracks() const;
    // The tracks of one media type, in track order.
    QList<std::shared_ptr<AssetTrack>> tracksWithMediaType(MediaType type) const;
    // The track with that identifier, or null.
    std::shared_ptr<AssetTrack> trackWithTrackID(int trackID) const;
    // The length of the asset; zero when it has no media.
    virtual MediaTime duration() const;
    virtual bool isComposition() const { return false; }
    // Why the file gave no tracks (empty when it was read).
    QString errorString() const;

    // The first video track a file stream feeds, and the first such sound track: what a
    // player shows and plays for this asset. Null when there is none.
    std::shared_ptr<AssetTrack> playbackVideoTrack() const;
    std::shared_ptr<AssetTrack> playbackAudioTrack() const;

    // Several lines for logs: the asset and its tracks.
    QString description() const;

protected:
    Asset() = default;
    explicit Asset(const QUrl& url) : m_url(url) {}

private:
    void load() const;

    QUrl m_url;
    mutable bool m_loaded = false;
    mutable QList<std::shared_ptr<AssetTrack>> m_tracks;
    mutable MediaTime m_duration = MediaTime::zero();
    mutable QString m_error;
};
