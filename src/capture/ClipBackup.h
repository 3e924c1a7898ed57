#pragma once

// Clip backups: a recording's streams copied without re-encoding into MOV
// files of a chosen folder by the `ffmpeg` tool, one run per output file, each
// waited for on the calling (main) thread in an event loop of its own, so that
// the windows are painted meanwhile (Process::runInEventLoop). The backup
// screen and the window player's context menu share these routines; they
// differ in the outputs they make of a recording, in where they take the
// folder from, and in that the screen's backup can be cancelled.

#include "metadata/orvoTableModel.h"
#include "platform/system/Process.h"

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
    // Runs the tool and waits for it (default: Process::runInEventLoop, no input, output
    // discarded but for the end of the error output; the user's input is handled
    // meanwhile only when the run can be cancelled).
    std::function<Process::Result(const QString& program, const QStringList& arguments,
                                  Process::Cancellation* cancellation)>
        run;
    // The user's Desktop folder (default: the XDG desktop folder).
    std::function<QString()> desktopFolder;
    // A modal alert, title and message being "Localizable" keys (default: showAlert).
    std::function<void(const QString& title, const QString& message)> alert;
    // A modal notice that the backup was saved (default: showNotice).
    std::function<void(const QString& title, const QString& message)> notice;
};

// The process-wide environment of the backups; tests replace its members.
ClipBackupEnvironment& clipBackupEnvironment();

// The tool's arguments for one copy: "-i", input, "-c:v", "copy", "-acodec",
// "copy", "-map", "0:<a>", with `withExtra` also "-map", "0:<b>", then output.
QStringList ffmpegRemuxArguments(int a, int b, bool withExtra, const QString& input, const QString& output);

// The local path of a recording's file URL, as a path string that keeps bytes
// that are not UTF-8 (FileSystemRepresentation.h).
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

// What one copy did.
struct BackupCopy {
    bool ok = false;
    QString reason;            // why it failed, in the interface language
    bool withoutSound = false; // the extra stream was asked for, but the input has no sound there
    bool cancelled = false;    // the copy was cancelled (and left nothing)
};

// One copy into `folder`. The tool writes a hidden temporary file of the
// folder (the container named to it), which replaces a file or link called
// `outputName` only once the tool has ended with status 0 and the file opens
// as a video with the streams asked for; on any failure, and when the copy is
// cancelled through `cancellation`, it is removed, so a killed, failed or
// cancelled copy never stands under the name. The tool reads the input only
// as one of the camera's containers from the file alone, and only an input
// that is a regular file (after links) is given to it: a pipe would hold it
// for ever. The extra stream is copied only when the input has a sound stream
// there: without one the copy holds the video alone. Temporary files of an
// earlier copy into the folder that was killed are removed first. On failure
// "Error: " and the reason are printed: the name is no plain file name, the
// input is not a regular file, the folder cannot be listed or written, a
// folder stands under the name, the tool is missing, or it fails.
BackupCopy copyBackupOutput(const BackupOutput& output, bool withExtra, const QString& folder,
                            Process::Cancellation* cancellation = nullptr);
// copyBackupOutput of the streams a and b of `input` into `outputName`.
bool runBackupRemux(int a, int b, bool withExtra, const QString& input, const QString& outputName,
                    const QString& folder);

// One output that could not be written, and why.
struct BackupFailure {
    QString name;
    QString reason;
};

// What a whole backup did.
struct BackupOutcome {
    QStringList written;
    QList<BackupFailure> failures;
    bool withoutSound = false; // some output was asked with sound and holds the video alone
    bool cancelled = false;    // the backup was cancelled: the outputs after `written` were not made
};

// Runs every output into `folder` in order, going on after a failure; a
// cancellation stops the copy under way and the outputs after it.
BackupOutcome runBackupOutputs(const QList<BackupOutput>& outputs, bool withExtra, const QString& folder,
                               Process::Cancellation* cancellation = nullptr);

// Tells the user, once, how the backup of `recordingName` into `folder`
// ended: the alert "Backup Error" naming each output that failed and why (or
// that the recording gave nothing to copy, when `outputs` is empty), else the
// notice that the backup was saved there.
void reportBackupResult(const QString& recordingName, const QString& folder,
                        const QList<BackupOutput>& outputs, const BackupOutcome& outcome);

// The context menu's backup of `row` into the backup folder ("backupBookMark",
// else the Desktop folder). Failures are reported once at the end.
void backupRecordingFromContextMenu(const orvoTableModel& row, bool withExtra);
