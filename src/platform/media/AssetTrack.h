#pragma once

#include "platform/media/MediaTime.h"

#include <QSize>
#include <QString>

// The kind of media a track carries.
enum class MediaType { Video, Audio, Other };

// "video", "audio" or "other", for logs.
QString mediaTypeName(MediaType type);

// One track of an asset: a stream of a media file as libavformat reports it. A track of a
// composition names the file and stream that feed it (none while nothing was inserted).
class AssetTrack {
public:
    AssetTrack() = default;
    virtual ~AssetTrack() = default;

    // 1-based identifier, unique within its asset.
    int trackID() const { return m_trackID; }
    MediaType mediaType() const { return m_mediaType; }
    // Absolute path of the file whose stream feeds the track; empty when none does.
    QString sourcePath() const { return m_sourcePath; }
    // libavformat's index of that stream in the file; -1 when none feeds the track.
    int streamIndex() const { return m_streamIndex; }
    // Position of that stream among the file's streams of the same libavformat type (0-based):
    // the players number tracks per type in file order.
    int typeOrdinal() const { return m_typeOrdinal; }
    // The span of the track in its asset's time line.
    MediaTimeRange timeRange() const { return m_timeRange; }
    // Width and height of the picture as displayed (video tracks; empty otherwise).
    QSize naturalSize() const { return m_naturalSize; }
    // Short name of the codec ("h264", "aac"); empty when unknown.
    QString codecName() const { return m_codecName; }
    // Whether a file stream feeds the track.
    bool hasSource() const { return !m_sourcePath.isEmpty() && m_streamIndex >= 0; }

    // One line for logs: identifier, type, codec, source and range.
    QString description() const;

    // Fields of a track probed from a file.
    struct Fields {
        int trackID = 0;
        MediaType mediaType = MediaType::Other;
        QString sourcePath;
        int streamIndex = -1;
        int typeOrdinal = -1;
        MediaTimeRange timeRange;
        QSize naturalSize;
        QString codecName;
    };
    explicit AssetTrack(const Fields& fields);

protected:
    int m_trackID = 0;
    MediaType m_mediaType = MediaType::Other;
    QString m_sourcePath;
    int m_streamIndex = -1;
    int m_typeOrdinal = -1;
    MediaTimeRange m_timeRange;
    QSize m_naturalSize;
    QString m_codecName;
};
