#include "library/RecordingListBuilder.h"

#include "library/RecordingRow.h"
#include "metadata/CParserWrapper.h"
#include "metadata/DistrictTable.h"
#include "metadata/FFmpeg.h"
#include "metadata/PacketCache.h"
#include "metadata/ParserOutput.h"
#include "metadata/RecordingList.h"
#include "metadata/nmeaToDegrees.h"
#include "platform/system/FileManager.h"
#include "platform/system/Localization.h"
#include "platform/system/LogCategories.h"
#include "shared/PlayerState.h"

#include <QHash>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

bool isRecordingFile(const QUrl& url) {
    const QString extension = FileManager::pathExtension(url).toLower();
    return extension == QLatin1String("mp4") || extension == QLatin1String("avi");
}

QString localPath(const QUrl& url) {
    return url.isLocalFile() ? FileManager::filePath(url) : url.path(QUrl::FullyDecoded);
}

// The URL of `name` in the folder that holds `url`.
QUrl urlBeside(const QUrl& url, const QString& name) {
    if (url.isLocalFile()) {
        const QString path = FileManager::filePath(url);
        return FileManager::fileURLWithPath(path.left(path.lastIndexOf(QLatin1Char('/')) + 1) + name);
    }
    QUrl sibling = url.adjusted(QUrl::RemoveFilename);
    sibling.setPath(sibling.path(QUrl::FullyDecoded) + name, QUrl::DecodedMode);
    return sibling;
}

QUrl siblingCandidate(const QUrl& url, const QString& from, const QString& to) {
    QString name = FileManager::lastPathComponent(url);
    name.replace(from, to, Qt::CaseSensitive);
    return urlBeside(url, name);
}

} // namespace

void printLine(const QString& text) {
    platform::logLine(platform::lcLibrary(), text);
}

std::optional<QUrl> siblingFileURL(const QUrl& url, const QSet<QUrl>& files, const QString& from,
                                   const QString& to) {
    const QUrl candidate = siblingCandidate(url, from, to);
    if (files.contains(candidate))
        return candidate;
    return std::nullopt;
}

RecordingListBuilder::RecordingListBuilder(FFmpeg& reader, RecordingListOutlets outlets)
    : m_reader(reader), m_outlets(std::move(outlets)) {}

std::optional<QUrl> RecordingListBuilder::siblingFileURL(const QUrl& url, const QList<QUrl>& files,
                                                         const QString& from, const QString& to) {
    const QUrl candidate = siblingCandidate(url, from, to);
    if (files.contains(candidate))
        return candidate;
    return std::nullopt;
}

void RecordingListBuilder::stopPlayback() {
    if (m_outlets.stopPlayback)
        m_outlets.stopPlayback();
    playState = 0;
    currentAsset.reset();
}

void RecordingListBuilder::reloadTable() {
    if (m_outlets.reloadTable)
        m_outlets.reloadTable();
}

void RecordingListBuilder::addRecordingFile(const QUrl& url, const QList<QUrl>& files) {
    addRecordingFile(url, QSet<QUrl>(files.begin(), files.end()));
}

void RecordingListBuilder::addRecordingFile(const QUrl& url, const QSet<QUrl>& files) {
    std::optional<orvoTableRowModel> row = recordingRowFromFileName(url, m_reader);
    if (!row)
        return;
    const QString& channel = row->Channel;
    if (channel == QLatin1String("R")) {
        if (::siblingFileURL(url, files, QStringLiteral("R"), QStringLiteral("F")))
            return;
    } else if (channel == QLatin1String("I")) {
        if (::siblingFileURL(url, files, QStringLiteral("I_"), QStringLiteral("F_")))
            return;
        if (::siblingFileURL(url, files, QStringLiteral("I_"), QStringLiteral("R_")))
            return;
    }
    recordingList.append(orvoTableModel{url, std::move(*row)});
}

void RecordingListBuilder::buildRecordingList(const QList<QUrl>& files) {
    stopPlayback();

    QList<QUrl> kept;
    kept.reserve(files.size());
    for (const QUrl& url : files) {
        if (isRecordingFile(url))
            kept.append(url);
    }

    if (kept.isEmpty()) {
        printLine(QStringLiteral("nil"));
        cardModel.reset();
        cardVersion.reset();
        if (m_outlets.setCardTexts)
            m_outlets.setCardTexts(QString(), QString());
        recordingList.clear();
        packetCache.clear();
        currentAsset.reset();
        currentIndex = -1;
        if (displayedRecordingList)
            displayedRecordingList->clear();
        reloadTable();
        return;
    }

    if (m_outlets.selectFirstCategory)
        m_outlets.selectFirstCategory();
    recordingList.clear();
    // Sibling tests look only among the folder's files, never on disk.
    const QSet<QUrl> fileSet(kept.begin(), kept.end());
    for (const QUrl& url : kept)
        addRecordingFile(url, fileSet);

    // The interface language does not change while the list is built.
    const bool korean = isKoreanInterface();
    std::vector<FirstFix> fixes;
    if (korean) {
        QStringList paths;
        paths.reserve(recordingList.size());
        for (const orvoTableModel& entry : std::as_const(recordingList))
            paths.append(localPath(entry.url));
        fixes = firstFixes(paths);
    }

    for (qsizetype i = 0; i < recordingList.size(); ++i) {
        if (korean) {
            const QString path = localPath(recordingList[i].url);
            FirstFix& fix = fixes[size_t(i)];
            if (fix.parsed)
                ParserOutput::print(fix.printed);
            else
                fix.gps = CParserWrapper(true).getFirstGPS(path);
            applyFirstGps(i, path, fix.gps);
        }

        orvoTableModel& entry = recordingList[i];
        orvoTableRowModel& row = entry.row;
        if (row.Channel == QLatin1String("F")) {
            row.merge = ::siblingFileURL(entry.url, fileSet, QStringLiteral("F"), QStringLiteral("R"));
            row.merge2 = ::siblingFileURL(entry.url, fileSet, QStringLiteral("F"), QStringLiteral("I"));
            row.Channel = QString::number(1 + int(row.merge.has_value()) + int(row.merge2.has_value())) +
                          QStringLiteral("CH");
        } else if (row.Channel == QLatin1String("R")) {
            row.merge2 = ::siblingFileURL(entry.url, fileSet, QStringLiteral("R"), QStringLiteral("I"));
            row.Channel = row.merge2 ? QStringLiteral("2CH") : QStringLiteral("1CH");
        } else if (row.Channel == QLatin1String("FR")) {
            row.Channel = QStringLiteral("2CH");
        } else if (!row.Channel.contains(QLatin1String("CH"))) {
            FFmpeg reader;
            row.Channel =
                QString::number(reader.getVideoStreamCount(localPath(entry.url))) + QStringLiteral("CH");
        }
    }

    sortRecordingList();
    displayedRecordingList = recordingList;
    reloadTable();
    currentIndex = 0;
}

std::vector<RecordingListBuilder::FirstFix> RecordingListBuilder::firstFixes(const QStringList& paths) const {
    std::vector<FirstFix> fixes(size_t(paths.size()));
    const int threads = int(std::min<qsizetype>(m_firstFixThreads, paths.size()));
    if (threads <= 1) {
        // Each file is parsed when its entry comes in the second pass.
        return fixes;
    }
    // Each parse has parsers of its own and touches no shared state. What the
    // parsers print is kept per file and printed when the file's fix is applied,
    // so the lines come in the same order as when the files are parsed in turn.
    // The log itself is left alone: each worker prints into the line
    // sink of the file it parses.
    std::atomic<qsizetype> next{0};
    const auto work = [&] {
        for (qsizetype i = next++; i < paths.size(); i = next++) {
            FirstFix& fix = fixes[size_t(i)];
            const ParserOutput::ThreadSink sink(&fix.printed);
            fix.gps = CParserWrapper(true).getFirstGPS(paths[i]);
            fix.parsed = true;
        }
    };
    std::vector<std::jthread> workers;
    workers.reserve(size_t(threads));
    for (int t = 0; t < threads; ++t)
        workers.emplace_back(work);
    workers.clear();
    return fixes;
}

void RecordingListBuilder::firstGpsOfFile(const QString& path) {
    qsizetype index = -1;
    for (qsizetype i = 0; i < recordingList.size(); ++i) {
        if (localPath(recordingList[i].url) == path) {
            index = i;
            break;
        }
    }
    const CParserWrapper wrapper(true);
    applyFirstGps(index, path, wrapper.getFirstGPS(path));
}

// `index` is the first entry whose URL path is `path` (-1: none).
void RecordingListBuilder::applyFirstGps(qsizetype index, const QString& path,
                                         const std::optional<GpsData>& gps) {
    if (!gps) {
        printLine(QStringLiteral("not CParserWrapper Format."));
        m_reader.getFirstGPSForFile(path);
        return;
    }
    float lat = gps->getLat();
    float lng = gps->getLng();
    if (lat < -90 || lat > 90)
        lat = nmeaToDegrees(lat);
    if (lng < -180 || lng > 180)
        lng = nmeaToDegrees(lng);
    if (lat == 0 || lng == 0)
        return;
    const std::optional<QString> name = nearestDistrictName(lat, lng);
    if (!name || index < 0)
        return;
    recordingList[index].row.location = *name;
}

void sortRecordingList() {
    struct Keyed {
        QString key;
        qsizetype index;
    };
    std::vector<Keyed> keys;
    keys.reserve(size_t(recordingList.size()));
    for (qsizetype i = 0; i < recordingList.size(); ++i)
        keys.push_back({recordingList[i].row.Date + recordingList[i].row.Time, i});
    std::stable_sort(keys.begin(), keys.end(), [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    QList<orvoTableModel> sorted;
    sorted.reserve(recordingList.size());
    for (const Keyed& keyed : keys)
        sorted.append(std::move(recordingList[keyed.index]));
    recordingList = std::move(sorted);
}

QList<orvoTableModel> recordingsWithLocation(const QString& text) {
    if (text.isEmpty())
        return recordingList;
    QList<orvoTableModel> matches;
    for (const orvoTableModel& entry : std::as_const(recordingList)) {
        if (entry.row.location.contains(text, Qt::CaseSensitive))
            matches.append(entry);
    }
    return matches;
}

QList<orvoTableModel> recordingsOfType(const QString& title) {
    if (title == localized("All"))
        return recordingList;
    QList<orvoTableModel> matches;
    for (const orvoTableModel& entry : std::as_const(recordingList)) {
        if (entry.row.type == title)
            matches.append(entry);
    }
    return matches;
}

void RecordingListBuilder::onSearchFieldChanged(const QString& text) {
    displayedRecordingList = recordingsWithLocation(text);
    stopPlayback();
    reloadTable();
}

void RecordingListBuilder::onTableSortMenuTap(const std::optional<QString>& title) {
    if (!title)
        return;
    if (*title != typeFilterTitle) {
        stopPlayback();
        currentIndex = -1;
        selectedRow = -1;
    }
    typeFilterTitle = *title;
    displayedRecordingList = recordingsOfType(*title);
    reloadTable();
}
