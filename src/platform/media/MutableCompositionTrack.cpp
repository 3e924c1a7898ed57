#include "platform/media/MutableCompositionTrack.h"

MutableCompositionTrack::MutableCompositionTrack(int trackID, MediaType mediaType) {
    m_trackID = trackID;
    m_mediaType = mediaType;
    m_timeRange = MediaTimeRange(MediaTime::zero(), MediaTime::zero());
}

bool MutableCompositionTrack::insertTimeRange(const MediaTimeRange& timeRange,
                                              const std::shared_ptr<AssetTrack>& track,
                                              const MediaTime& startTime, QString* error) {
    const auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (!track || !track->hasSource())
        return fail(QStringLiteral("The source track holds no media."));
    if (track->mediaType() != m_mediaType)
        return fail(QStringLiteral("The source track is %1, the composition track %2.")
                        .arg(mediaTypeName(track->mediaType()), mediaTypeName(m_mediaType)));
    if (!timeRange.isValid() || timeRange.duration.value() <= 0)
        return fail(QStringLiteral("The time range %1 + %2 is not a valid span.")
                        .arg(timeRange.start.description(), timeRange.duration.description()));
    if (timeRange.start != MediaTime::zero() || !startTime.isNumeric() || startTime != MediaTime::zero())
        return fail(QStringLiteral("Only a range from time zero placed at time zero can be inserted."));
    if (hasSource())
        return fail(QStringLiteral("The composition track already holds media."));

    MediaTime length = timeRange.duration;
    const MediaTime available = track->timeRange().duration;
    if (available.isNumeric() && available.value() > 0)
        length = MediaTime::minimum(length, available);

    m_sourcePath = track->sourcePath();
    m_streamIndex = track->streamIndex();
    m_typeOrdinal = track->typeOrdinal();
    m_naturalSize = track->naturalSize();
    m_codecName = track->codecName();
    m_timeRange = MediaTimeRange(MediaTime::zero(), length);
    return true;
}
