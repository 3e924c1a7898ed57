#pragma once

#include <QString>
#include <QUrl>

#include <atomic>
#include <functional>

// Unpacking a zip archive into a folder, all or nothing. Every entry is first
// unpacked into a hidden temporary folder inside the target folder (on the
// same file system) and read to its end, so that libzip checks its CRC and
// size; only when the whole archive has unpacked are the entries moved into
// place, replacing files of the same names. On any failure what was written
// is removed and the folder is left as it was.
//
// Refused before anything is written: names that are absolute or climb with
// "..", names of the player's own temporary files and folders (the next
// unpacking or download would remove them as leftovers), symbolic links and
// other special entries (a package needs none, and a chain of links could
// lead anywhere), and archives whose unpacked size exceeds the space available
// in the folder's file system or the cap. An entry that names the folder
// itself ("./") is skipped. An entry is never moved over a folder, and a
// folder never into a link.

struct UnzipOptions {
    // The largest total of the entries' unpacked sizes accepted.
    qint64 maximumSize = qint64(4) * 1024 * 1024 * 1024;
    // Called on the unpacking thread with the bytes written so far and the total.
    std::function<void(qint64 written, qint64 total)> progress;
    // When set (from any thread) the unpacking stops and fails as Cancelled.
    const std::atomic<bool>* cancelled = nullptr;
};

struct UnzipResult {
    enum class Failure {
        None,
        Damaged,     // not a zip archive, truncated, a bad CRC or size, an unknown method
        Unsafe,      // a name or link leading outside the folder, or over the archive itself
        Reserved,    // a name of the player's own temporary files or folders
        TooLarge,    // more than UnzipOptions::maximumSize unpacked
        NoSpace,     // more than the free space, or the disk filled up
        CannotWrite, // the folder or a file could not be written (see systemError)
        Cancelled,
    };
    Failure failure = Failure::None;
    // The errno of a file-system failure; 0 otherwise.
    int systemError = 0;
    // A readable reason for the log; empty on success.
    QString error;

    bool succeeded() const { return failure == Failure::None; }
};

// Unpacks the archive at `archivePath` into the existing folder `folder`.
UnzipResult unzipArchive(const QString& archivePath, const QString& folder, const UnzipOptions& options = {});

// The same with file URLs: false with the reason in `error` on failure.
bool unzipItem(const QUrl& archive, const QUrl& folder, QString* error = nullptr);

// The name prefix of the temporary folders; one left by an interrupted run is
// removed by the next unpacking into the same folder.
inline constexpr char kUnzipTemporaryPrefix[] = ".kavrin-unpack-";
