#include "library/RecordingRow.h"

#include "metadata/FFmpeg.h"
#include "platform/system/Localization.h"

#include <QStringList>

namespace {

// The last path component of the URL, as a file name.
QString lastPathComponent(const QUrl& url) {
    QString path = url.path(QUrl::FullyDecoded);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    if (path == QLatin1String("/"))
        return path;
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

// The first non-empty piece of `text` split at ".", or none.
std::optional<QString> kindPiece(const QString& text) {
    const QStringList pieces = text.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    if (pieces.isEmpty())
        return std::nullopt;
    return pieces.first();
}

} // namespace

QString recordingTypeForKind(const QString& kind) {
    if (kind.contains(QLatin1String("my")))
        return localized("Myfolder");
    static const struct {
        const char* letter;
        const char* key;
    } letters[] = {{"N", "Normal"}, {"E", "Event"},     {"P", "Parking"},
                   {"M", "Motion"}, {"C", "Camcorder"}, {"I", "AI"}};
    for (const auto& entry : letters) {
        if (kind == QLatin1String(entry.letter))
            return localized(entry.key);
    }
    return localized("Etc.");
}

std::optional<orvoTableRowModel> recordingRowFromFileName(const QUrl& url,
                                                          const VideoStreamCounter& videoStreamCount) {
    orvoTableRowModel row;
    const QString name = lastPathComponent(url);
    if (!name.contains(QLatin1Char('-')))
        return std::nullopt;

    const QStringList dashPieces = name.split(QLatin1Char('-'), Qt::SkipEmptyParts);
    if (dashPieces.isEmpty())
        return row;
    row.Date = dashPieces[0];
    if (dashPieces.size() < 2)
        return row;
    const QString& rest = dashPieces[1];

    // The form is decided by every piece, empty ones included; the fields take the others.
    const QStringList allPieces = rest.split(QLatin1Char('_'), Qt::KeepEmptyParts);
    const QStringList pieces = rest.split(QLatin1Char('_'), Qt::SkipEmptyParts);
    if (!pieces.isEmpty())
        row.Time = pieces[0];

    if (allPieces.size() >= 3) {
        if (pieces.size() > 1)
            row.Channel = pieces[1];
        if (pieces.size() > 2 && pieces[2].contains(QLatin1Char('.'))) {
            if (const std::optional<QString> kind = kindPiece(pieces[2]))
                row.type = recordingTypeForKind(*kind);
        }
        return row;
    }

    const QString path = url.isLocalFile() ? url.toLocalFile() : url.path(QUrl::FullyDecoded);
    const int streams = videoStreamCount ? videoStreamCount(path) : 0;
    row.Channel = QString::number(streams) + QStringLiteral("CH");
    if (pieces.size() > 1) {
        if (const std::optional<QString> kind = kindPiece(pieces[1]))
            row.type = recordingTypeForKind(*kind);
    }
    return row;
}

std::optional<orvoTableRowModel> recordingRowFromFileName(const QUrl& url, FFmpeg& reader) {
    return recordingRowFromFileName(
        url, [&reader](const QString& path) { return reader.getVideoStreamCount(path); });
}
