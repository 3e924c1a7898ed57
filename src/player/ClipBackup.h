#pragma once

// Clip backups: a recording's streams copied without re-encoding into MOV
// files of a chosen folder by the `ffmpeg` tool, one run per output file, each
// waited for on the calling (main) thread. The backup screen and the window
// player's context menu share these routines; they differ in the outputs they
// make of a recording and in where they take the folder from.

#include "metadata/orvoTableModel.h"
#include "platform/Process.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

// The suffixes of the backup file names. Each ends in ".mov"; the per-channel
// ones differ from each other, so the outputs of one backup never share a name.
namespace BackupSuffix {
// A channel file of its own: its name + this.
inline constexpr char kChannelFile[] = "_backup.mov";
// The front channel of a one-file recording.
inline constexpr char kForward[] = "_F_backup.mov";
// The rear ("backward") channel of a one-file recording.
inline constexpr char kBackward[] = "_R_backup.mov";
// The inside channel of a one-file recording.
inline constexpr char kInside[] = "_I_backup.mov";
// One of three or more channels of a one-file recording: name + "_" + number + this.
inline constexpr char kChannelNumber[] = "CH_backup.mov";
// A context-menu backup: name + "-" + number + this.
inline constexpr char kContextMenu[] = "CH-backup.mov";
} // namespace BackupSuffix

// One output of a backup: the streams a (video) and b (the extra stream that
// follows the video streams, usually the sound) of `input`, into the file
// `name` of the backup folder.
struct BackupOutput {
    QString input;
    QString name;
    int a = 0;
    int b = 0;

    bool operator==(const BackupOutput&) const = default;
};

// The outside world of the backups, replaceable for tests. Each empty member
// falls back to the real thing.
struct ClipBackupEnvironment {
    // The `ffmpeg` tool (default: Bundle::ffmpegPath, as the AVI rewrap finds it).
    std::function<std::optional<QString>()> ffmpegPath;
    // Runs the tool and waits for it (default: Process::runAndWait, no input, output discarded).
    std::function<Process::Result(const QString& program, const QStringList& arguments)> run;
    // The user's Desktop folder (default: the XDG desktop folder).
    std::function<QString()> desktopFolder;
    // A modal alert, title and message being "Localizable" keys (default: showAlert).
    std::function<void(const QString& title, const QString& message)> alert;
};

// The process-wide environment of the backups; tests replace its members.
ClipBackupEnvironment& clipBackupEnvironment();

// The tool's arguments for one copy: "-i", input, "-c:v", "copy", "-acodec",
// "copy", "-map", "0:<a>", with `withExtra` also "-map", "0:<b>", then output.
QStringList ffmpegRemuxArguments(int a, int b, bool withExtra, const QString& input, const QString& output);

// The local path of a recording's file URL.
QString recordingPath(const QUrl& url);
// The last path component of a recording's file URL without its extension.
QString recordingBaseName(const QUrl& url);

// The backup screen's outputs of `row`, in the order they are copied.
// `videoStreams` is the number of video streams of the row's file; it matters
// only for a recording without a `merge` file.
QList<BackupOutput> backupOutputs(const orvoTableModel& row, int videoStreams);
// The context menu's outputs of `row` ("<name>-<k>CH-backup.mov"): the main
// and the `merge` file numbered 1 and 2, or the video streams of one file
// numbered from 0. `videoStreams` as above.
QList<BackupOutput> contextBackupOutputs(const orvoTableModel& row, int videoStreams);

// The user's Desktop folder.
QString desktopFolder();
// The backup folder: the one the bookmark under "backupBookMark" resolves to
// through `resolve`, else the Desktop folder (made when missing).
QString backupFolder(const std::function<std::optional<QUrl>(const QByteArray& data)>& resolve);

// One copy into `folder`: lists the folder, removes an old output called
// `outputName`, runs the tool and waits. False, with "Error: " and the reason
// printed, when the folder cannot be listed or written, the old output cannot
// be removed, the name is no plain file name, the tool is missing, or the tool
// fails; a file the failed run left behind is removed.
bool runBackupRemux(int a, int b, bool withExtra, const QString& input, const QString& outputName,
                    const QString& folder);

// Runs every output into `folder` in order, going on after a failure; the
// names of the outputs that could not be written.
QStringList runBackupOutputs(const QList<BackupOutput>& outputs, bool withExtra, const QString& folder);

// Tells the user, once, which outputs of the backup of `recordingName` failed
// (nothing when none did); `nothingToCopy` says the recording gave no output.
void reportBackupFailures(const QString& recordingName, const QStringList& failedNames, bool nothingToCopy);

// The context menu's backup of `row` into the backup folder ("backupBookMark",
// else the Desktop folder). Failures are reported once at the end.
void backupRecordingFromContextMenu(const orvoTableModel& row, bool withExtra);
