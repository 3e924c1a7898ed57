#pragma once

#include "metadata/GpsData.h"
#include "metadata/ParserOutput.h"
#include "metadata/orvoTableModel.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class FFmpeg;

// The window player's parts that opening a folder and building the recording
// list act on. A missing hook is skipped, except stopPlayback, whose absence
// still resets the shared play state.
struct RecordingListOutlets {
    // Stops and empties the players; the play state becomes 0 and currentAsset none.
    std::function<void()> stopPlayback;
    // Reloads orvoTableView from displayedRecordingList.
    std::function<void()> reloadTable;
    // Selects the first item ("All") of tableSortingMenu.
    std::function<void()> selectFirstCategory;
    // Shows the card's model and version in modelText and versionTxt.
    std::function<void(const QString& model, const QString& version)> setCardTexts;
};

// Builds the shared recording list from the files of an opened folder: one
// entry per recording, the front, rear and inside files of a recording merged
// into the entry of its front file (or of its rear file when there is no
// front file), each entry with its channel count and, with the Korean
// interface, the district of its first GPS fix. Main thread.
class RecordingListBuilder {
public:
    RecordingListBuilder(FFmpeg& reader, RecordingListOutlets outlets = {});

    RecordingListOutlets& outlets() { return m_outlets; }

    // Rebuilds recordingList from `files` (in the order the folder gave them),
    // sorts it, shows all of it and makes the first entry current, without
    // playing. Files other than .mp4 and .avi (any case) are left out; with no
    // recording at all the lists, the cache and the card texts are emptied.
    void buildRecordingList(const QList<QUrl>& files);

    // Appends the entry of one file to recordingList, or nothing when the file
    // is not a recording or is a channel file of a recording whose front (or,
    // for an inside file, rear) file is among `files`.
    void addRecordingFile(const QUrl& url, const QList<QUrl>& files);

    // The URL of the file beside `url` whose name is url's name with every
    // `from` replaced by `to`, when `files` holds it.
    static std::optional<QUrl> siblingFileURL(const QUrl& url, const QList<QUrl>& files, const QString& from,
                                              const QString& to);

    // Writes the district of the first fix of the file at `path` into the
    // location of the first recordingList entry whose URL path is `path`.
    void firstGpsOfFile(const QString& path);

    // Threads that parse the first fixes of a build side by side; 1 parses them
    // one after another on the calling thread. Either way each file's fix is
    // applied, and what its parse printed is printed, in list order on the
    // calling thread.
    void setFirstFixThreads(int threads) { m_firstFixThreads = threads < 1 ? 1 : threads; }
    int firstFixThreads() const { return m_firstFixThreads; }

    // The search field's action: displayedRecordingList becomes the entries of
    // recordingList whose location contains `text` (all of them for an empty
    // text); playback stops and the table reloads.
    void onSearchFieldChanged(const QString& text);
    // The type menu's action with the title of its selected item (none: nothing
    // happens): a new kind stops playback and clears the current and marked
    // rows; the displayed list becomes the entries of that kind (all for "All").
    void onTableSortMenuTap(const std::optional<QString>& title);

private:
    void addRecordingFile(const QUrl& url, const QSet<QUrl>& files);
    void applyFirstGps(qsizetype index, const QString& path, const std::optional<GpsData>& gps);
    struct FirstFix {
        bool parsed = false;
        std::optional<GpsData> gps;
        // What the parsers printed while reading the file.
        ParserOutput::Lines printed;
    };
    std::vector<FirstFix> firstFixes(const QStringList& paths) const;
    void stopPlayback();
    void reloadTable();

    FFmpeg& m_reader;
    RecordingListOutlets m_outlets;
    int m_firstFixThreads = 1;
};

// Sibling lookup over a set of the folder's files.
std::optional<QUrl> siblingFileURL(const QUrl& url, const QSet<QUrl>& files, const QString& from,
                                   const QString& to);

// Sorts recordingList by the text of Date followed by Time, keeping the order
// of entries with equal texts.
void sortRecordingList();

// The entries of recordingList, in order, whose location contains `text`
// (literal, case-sensitive); all of them for an empty text.
QList<orvoTableModel> recordingsWithLocation(const QString& text);
// The entries of recordingList, in order, whose type is `title`; all of them
// when `title` is the localised "All".
QList<orvoTableModel> recordingsOfType(const QString& title);

// One line of the kavrin.library log.
void printLine(const QString& text);
