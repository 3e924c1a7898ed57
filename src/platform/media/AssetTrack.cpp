#include "platform/media/AssetTrack.h"

QString mediaTypeName(MediaType type) {
    switch (type) {
    case MediaType::Video:
        return QStringLiteral("video");
    case MediaType::Audio:
        return QStringLiteral("audio");
    case MediaType::Other:
        break;
    }
    return QStringLiteral("other");
}

AssetTrack::AssetTrack(const Fields& fields)
    : m_trackID(fields.trackID), m_mediaType(fields.mediaType), m_sourcePath(fields.sourcePath),
      m_streamIndex(fields.streamIndex), m_typeOrdinal(fields.typeOrdinal), m_timeRange(fields.timeRange),
      m_naturalSize(fields.naturalSize), m_codecName(fields.codecName) {}

QString AssetTrack::description() const {
    QString text = QStringLiteral("<AssetTrack %1 %2").arg(m_trackID).arg(mediaTypeName(m_mediaType));
    if (!m_codecName.isEmpty())
        text += QLatin1Char(' ') + m_codecName;
    if (m_naturalSize.isValid() && !m_naturalSize.isEmpty())
        text += QStringLiteral(" %1x%2").arg(m_naturalSize.width()).arg(m_naturalSize.height());
    if (hasSource())
        text += QStringLiteral(" %1#%2").arg(m_sourcePath).arg(m_streamIndex);
    else
        text += QStringLiteral(" (empty)");
    text += QStringLiteral(" start %1 duration %2>")
                .arg(m_timeRange.start.description(), m_timeRange.duration.description());
    return text;
}
