#pragma once

#include "platform/system/PermissionReset.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class RecordingListBuilder;

// The model and firmware version a camera writes into the card's "ver.txt".
struct VerTxtModel {
    QString model;
    QString version;
};

// Model and version of a "ver.txt" text: the model stands between the first
// "Model=" and the first "\nVersion=", the version is everything after that
// with every line feed removed. None when either marker is missing, or when
// the version marker stands before the end of the model marker.
std::optional<VerTxtModel> parseVerTxt(const QString& text);

// Resolves folder bookmark data read from the user default `key`; none (with
// "BookMark" and the reason printed) when it cannot be resolved. A stale
// bookmark is stored again under `key`. Also used for the capture and backup
// folders ("captureBookMark", "backupBookMark").
std::optional<QUrl> resolveBookmark(const QByteArray& data, const QString& key);
// Stores the bookmark of `url` under "orvoBookMark": the key removed, then set.
// When no bookmark can be made the reason is printed and the key kept.
void storeFolderBookmark(const QUrl& url);
// The same steps under any key.
void storeFolderBookmark(const QUrl& url, const QString& key);

// The folder the open panel starts in: the stored "SDcardDirectory" when it
// still exists, else the second of the mounted volumes when three or more are
// mounted, else none (the panel's own default).
std::optional<QUrl> openPanelStartDirectory(const std::optional<QUrl>& lastDirectory,
                                            const QList<QUrl>& mountedVolumes);

// Opening a folder (or a memory card) as the window player's recording source:
// reading the card's "ver.txt", collecting the recordings of the folder and of
// its direct subfolders, reopening the bookmarked folder at start-up, and
// finding a card among the mounted volumes when a folder cannot be listed.
// Main thread.
class FolderOpener {
public:
    struct Hooks {
        // The alert of a folder that cannot be listed (default: showAlert).
        std::function<void(const QString& title, const QString& message)> showAlert;
        // The mounted volumes (default: Volumes::mountedVolumeURLs, hidden ones skipped).
        std::function<QList<QUrl>()> mountedVolumeURLs;
        // The removable-volume permission reset (default: PermissionReset).
        std::function<PermissionReset::Result(const QString& bundleIdentifier)> resetPermission;
        // The application's identifier (default: Bundle::bundleIdentifier).
        std::function<QString()> bundleIdentifier;
        // A bookmark change drops the window player's orvoPlayer.
        std::function<void()> releaseOrvoPlayer;
        // The open panel's steps on the channel players: pause every one; pause
        // and empty every one (a folder was chosen); start every one, the play
        // state becoming 1 as each starts (the panel was cancelled).
        std::function<void()> pausePlayers;
        std::function<void()> emptyPlayers;
        std::function<void()> startPlayers;
    };

    explicit FolderOpener(RecordingListBuilder& builder, Hooks hooks = {});

    Hooks& hooks() { return m_hooks; }
    RecordingListBuilder& builder() { return m_builder; }

    // Opens the folder the user chose: remembers it, reads it and builds the
    // recording list without playing. A folder that cannot be listed starts a
    // scan of the mounted volumes and shows "Path Component Error".
    void openFileVolume(const QUrl& url);
    // Sorts one entry of the opened folder: "ver.txt" fills the card's model
    // and version, a recording file goes to `files`, anything else to `folders`.
    void readVerTxtModel(const QUrl& entry, QList<QUrl>& files, QList<QUrl>& folders);
    // Reopens the folder kept in "orvoBookMark". A bookmark that no longer
    // resolves is only printed; a folder that resolves but cannot be listed
    // shows "Path Component Error" as openFileVolume does.
    void playInBookMark();
    // Resets the removable-volume permission and opens every card among the
    // mounted volumes.
    void scanRemovableVolumes();
    // Opens each volume whose root holds a valid "ver.txt".
    void validateCardVolumes(const QList<QUrl>& volumes);
    // The "bookmarkChanged" handler: empties the list and switches to the
    // bookmarked folder without listing it.
    void didBookMarkChanged();

private:
    RecordingListBuilder& m_builder;
    Hooks m_hooks;
    // A volume scan is running: a card that cannot be listed does not start another.
    bool m_scanning = false;
};
