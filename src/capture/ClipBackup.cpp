#include "capture/ClipBackup.h"

#include "library/FolderOpener.h"
#include "metadata/AvInput.h"
#include "metadata/FFmpeg.h"
#include "platform/media/RecordingInput.h"
#include "platform/system/Bundle.h"
#include "platform/system/FileErrorText.h"
#include "platform/system/FileManager.h"
#include "platform/system/FileSystemRepresentation.h"
#include "platform/system/Localization.h"
#include "platform/system/LogCategories.h"
#include "platform/system/PartialFile.h"
#include "platform/system/UserDefaults.h"
#include "platform/ui/showAlert.h"
#include "shared/DefaultsKeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

extern "C" {
#include <libavutil/avutil.h>
}

namespace {

// A copy reads and writes the recording once; even an hour of recording on a
// slow card is done long before this, and a tool that hangs must not hold the
// player for ever.
constexpr int kToolTimeoutMs = 30 * 60 * 1000;

// Texts of the backup's alerts and notice: keys of "Localizable".
constexpr char kBackupErrorTitle[] = "Backup Error";
constexpr char kFailedOutputsMessage[] = "These backup files could not be written:";
constexpr char kNothingToCopyMessage[] = "No video stream could be read from the recording.";
constexpr char kNoToolMessage[] = "The ffmpeg tool was not found.";
constexpr char kCopyFailedMessage[] = "The video could not be copied.";
constexpr char kNotANameMessage[] = "This is not a file name.";
constexpr char kNotAFileMessage[] = "The recording cannot be read: it is not a regular file.";
constexpr char kBackupSavedTitle[] = "Backup Complete";
constexpr char kBackupSavedMessage[] = "The backup was saved in the folder \u201C%1\u201D:";
constexpr char kWithoutSoundMessage[] = "The recording has no sound: the video was copied without it.";

// The container of every output, named to the tool since the temporary file's
// name does not end in ".mov".
const QStringList kOutputFormat = {QStringLiteral("-f"), QStringLiteral("mov")};

void print(const QString& text) {
    platform::logLine(platform::lcCapture(), text);
}

void printError(const QString& description) {
    print(QStringLiteral("Error: ") + description);
}

std::optional<QString> ffmpegTool() {
    auto& environment = clipBackupEnvironment();
    return environment.ffmpegPath ? environment.ffmpegPath() : Bundle::ffmpegPath();
}

Process::Result runTool(const QString& program, const QStringList& arguments,
                        Process::Cancellation* cancellation) {
    auto& environment = clipBackupEnvironment();
    if (environment.run)
        return environment.run(program, arguments, cancellation);
    // Only a backup that can be cancelled takes the user's input meanwhile.
    return Process::runInEventLoop(program, arguments, kToolTimeoutMs, true, cancellation != nullptr,
                                   cancellation);
}

// A name that stays inside the folder it is joined to.
bool isPlainFileName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

// Whether `input` has a sound stream numbered `stream`.
bool hasSoundStream(const QString& input, int stream) {
    AvInput file;
    if (stream < 0 || !file.open(platform::fileSystemRepresentation(input).constData()))
        return false;
    return unsigned(stream) < file.streamCount() && file.streamType(unsigned(stream)) == AVMEDIA_TYPE_AUDIO;
}

// Whether the tool's output opens as a video file with `streams` streams: a copy
// cut short has no index (a MOV file without its "moov" box) and does not open.
bool opensWithStreams(const QString& path, unsigned streams) {
    AvInput file;
    return file.open(platform::fileSystemRepresentation(path).constData()) && file.streamCount() == streams &&
           file.videoStreamIndex() == 0;
}

// Whether the file system of `folder` has no room left for the user.
bool isFull(const QString& folder) {
    struct statvfs info {};
    return ::statvfs(platform::fileSystemRepresentation(folder).constData(), &info) == 0 &&
           info.f_bavail == 0;
}

// Why a run of the tool failed, as the user reads it.
QString failedRunReason(const Process::Result& result, const QString& folder) {
    if (!result.started)
        return localized(kNoToolMessage);
    if (const int named = fileErrorNamedIn(result.errorOutput))
        return localizedFileError(named);
    if (isFull(folder))
        return localizedFileError(ENOSPC);
    return localized(kCopyFailedMessage);
}

BackupCopy failedCopy(const QString& reason) {
    printError(reason);
    return BackupCopy{false, reason, false};
}

QString outputBaseName(const std::optional<QUrl>& url) {
    return url ? recordingBaseName(*url) : QString();
}

} // namespace

ClipBackupEnvironment& clipBackupEnvironment() {
    static ClipBackupEnvironment environment;
    return environment;
}

QStringList ffmpegRemuxArguments(int a, int b, bool withExtra, const QString& input, const QString& output) {
    QStringList arguments{QStringLiteral("-i"),      input,
                          QStringLiteral("-c:v"),    QStringLiteral("copy"),
                          QStringLiteral("-acodec"), QStringLiteral("copy"),
                          QStringLiteral("-map"),    QStringLiteral("0:%1").arg(a)};
    if (withExtra)
        arguments << QStringLiteral("-map") << QStringLiteral("0:%1").arg(b);
    arguments << output;
    return arguments;
}

QString recordingPath(const QUrl& url) {
    // toLocalFile would replace the bytes of a name that is not UTF-8.
    const QString path = platform::filePath(url);
    // Absolute, so that the tool never reads it as an option or a protocol.
    return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}

QString recordingBaseName(const QUrl& url) {
    const QString name = FileManager::lastPathComponent(url);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

QList<BackupOutput> backupOutputs(const orvoTableModel& row, int videoStreams) {
    const QString name = recordingBaseName(row.url);
    const QString path = recordingPath(row.url);
    QList<BackupOutput> outputs;
    if (row.row.merge) {
        outputs.append({path, name + QLatin1String(BackupSuffix::kChannelFile), 0, 1});
        outputs.append({recordingPath(*row.row.merge),
                        outputBaseName(row.row.merge) + QLatin1String(BackupSuffix::kChannelFile), 0, 1});
        if (row.row.merge2)
            outputs.append({recordingPath(*row.row.merge2),
                            outputBaseName(row.row.merge2) + QLatin1String(BackupSuffix::kChannelFile), 0,
                            1});
        return outputs;
    }
    if (videoStreams == 2) {
        outputs.append({path, name + QLatin1String(BackupSuffix::kForward), 0, 2});
        outputs.append({path, name + QLatin1String(BackupSuffix::kBackward), 1, 2});
    } else if (videoStreams == 1) {
        const char* suffix = BackupSuffix::kForward;
        if (path.contains(QLatin1String("_I_")))
            suffix = BackupSuffix::kInside;
        else if (path.contains(QLatin1String("_R_")))
            suffix = BackupSuffix::kBackward;
        outputs.append({path, name + QLatin1String(suffix), 0, 1});
    } else {
        for (int i = 0; i < videoStreams; ++i)
            outputs.append(
                {path,
                 name + QLatin1Char('_') + QString::number(i) + QLatin1String(BackupSuffix::kChannelNumber),
                 i, videoStreams});
    }
    return outputs;
}

QList<BackupOutput> contextBackupOutputs(const orvoTableModel& row, int videoStreams) {
    const QString name = recordingBaseName(row.url);
    const QString path = recordingPath(row.url);
    const auto numbered = [&name](int channel) {
        return name + QLatin1Char('-') + QString::number(channel) + QLatin1String(BackupSuffix::kContextMenu);
    };
    QList<BackupOutput> outputs;
    if (row.row.merge) {
        // The inside file is not copied from the context menu.
        outputs.append({path, numbered(1), 0, 1});
        outputs.append({recordingPath(*row.row.merge), numbered(2), 0, 1});
        return outputs;
    }
    for (int i = 0; i < videoStreams; ++i)
        outputs.append({path, numbered(i), i, videoStreams});
    return outputs;
}

QString desktopFolder() {
    auto& environment = clipBackupEnvironment();
    if (environment.desktopFolder)
        return environment.desktopFolder();
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/Desktop");
    return folder;
}

BackupCopy copyBackupOutput(const BackupOutput& output, bool withExtra, const QString& folder,
                            Process::Cancellation* cancellation) {
    if (!isPlainFileName(output.name))
        return failedCopy(localized(kNotANameMessage) + QStringLiteral(" \u201C%1\u201D").arg(output.name));
    // A pipe or a device (or a link to one) would hold the tool for ever.
    if (!FileManager::isRegularFile(output.input))
        return failedCopy(localized(kNotAFileMessage));
    const QByteArray folderBytes = platform::fileSystemRepresentation(folder);
    DIR* listing = ::opendir(folderBytes.constData());
    if (!listing)
        return failedCopy(localizedFileError(errno));
    ::closedir(listing);
    PartialFile::removeAbandoned(folder);

    const QString path = folder + QLatin1Char('/') + output.name;
    struct stat existing {};
    if (::lstat(platform::fileSystemRepresentation(path).constData(), &existing) == 0 &&
        S_ISDIR(existing.st_mode))
        return failedCopy(localizedFileError(EISDIR));
    const std::optional<QString> tool = ffmpegTool();
    if (!tool)
        return failedCopy(localized(kNoToolMessage));
    PartialFile file(path);
    if (!file.isOpen())
        return failedCopy(localizedFileError(file.error()));

    BackupCopy copy;
    const bool extra = withExtra && hasSoundStream(output.input, output.b);
    copy.withoutSound = withExtra && !extra;
    // Only the camera's containers, only files (RecordingInput.h).
    QStringList arguments =
        platform::recordingToolInputOptions() +
        ffmpegRemuxArguments(output.a, output.b, extra, output.input, file.temporaryPath());
    // The temporary file exists already (this process holds it): "-y" lets the tool write into it.
    arguments.insert(arguments.size() - 1, QStringLiteral("-y"));
    for (const QString& argument : kOutputFormat)
        arguments.insert(arguments.size() - 1, argument);
    const Process::Result result = runTool(*tool, arguments, cancellation);
    if (result.cancelled) {
        file.discard();
        print(QStringLiteral("Backup cancelled: ") + path);
        copy.cancelled = true;
        return copy;
    }
    if (result.started && !result.crashed && result.exitCode == 0 &&
        opensWithStreams(file.temporaryPath(), extra ? 2 : 1)) {
        // The copy's data is written by the tool; the rename alone makes it the backup.
        if (file.commit(false)) {
            copy.ok = true;
            return copy;
        }
        copy.reason = localizedFileError(file.error());
    } else {
        copy.reason = failedRunReason(result, folder);
    }
    file.discard();
    printError(copy.reason + QStringLiteral(" (") + path + QLatin1Char(')'));
    return copy;
}

bool runBackupRemux(int a, int b, bool withExtra, const QString& input, const QString& outputName,
                    const QString& folder) {
    return copyBackupOutput(BackupOutput{input, outputName, a, b}, withExtra, folder).ok;
}

BackupOutcome runBackupOutputs(const QList<BackupOutput>& outputs, bool withExtra, const QString& folder,
                               Process::Cancellation* cancellation) {
    BackupOutcome outcome;
    for (const BackupOutput& output : outputs) {
        const BackupCopy copy = copyBackupOutput(output, withExtra, folder, cancellation);
        if (copy.ok)
            outcome.written.append(output.name);
        else if (!copy.cancelled)
            outcome.failures.append({output.name, copy.reason});
        outcome.withoutSound = outcome.withoutSound || (copy.ok && copy.withoutSound);
        if (copy.cancelled || (cancellation && cancellation->isCancelled())) {
            outcome.cancelled = true;
            break;
        }
    }
    return outcome;
}

void reportBackupResult(const QString& recordingName, const QString& folder,
                        const QList<BackupOutput>& outputs, const BackupOutcome& outcome) {
    auto& environment = clipBackupEnvironment();
    const QString title = QString::fromLatin1(kBackupErrorTitle);
    if (outputs.isEmpty() || !outcome.failures.isEmpty()) {
        QString message;
        if (outputs.isEmpty()) {
            message = localized(kNothingToCopyMessage) + QLatin1Char('\n') + recordingName;
        } else {
            message = localized(kFailedOutputsMessage);
            for (const BackupFailure& failure : outcome.failures)
                message += QLatin1Char('\n') + failure.name + QStringLiteral(": ") + failure.reason;
        }
        if (environment.alert)
            environment.alert(title, message);
        else
            showAlert(title, message);
        return;
    }
    QString message = localized(kBackupSavedMessage).arg(folder);
    for (const QString& name : outcome.written)
        message += QLatin1Char('\n') + name;
    if (outcome.withoutSound)
        message += QStringLiteral("\n\n") + localized(kWithoutSoundMessage);
    const QString savedTitle = QString::fromLatin1(kBackupSavedTitle);
    if (environment.notice)
        environment.notice(savedTitle, message);
    else
        showNotice(savedTitle, message);
}

QString backupFolder(const std::function<std::optional<QUrl>(const QByteArray& data)>& resolve) {
    const QString key = QString::fromLatin1(DefaultsKey::kBackupBookMark);
    if (const std::optional<QByteArray> data = UserDefaults::standard().data(key))
        if (const std::optional<QUrl> url = resolve(*data))
            return platform::filePath(*url);
    const QString folder = desktopFolder();
    // The default folder may not exist yet on a fresh account.
    QDir().mkpath(folder);
    return folder;
}

void backupRecordingFromContextMenu(const orvoTableModel& recording, bool withExtra) {
    // A copy: the row handed in may be the current recording, which may change while the tool runs.
    const orvoTableModel row = recording;
    const QString folder = backupFolder([](const QByteArray& data) {
        return resolveBookmark(data, QString::fromLatin1(DefaultsKey::kBackupBookMark));
    });
    int videoStreams = 0;
    if (!row.row.merge) {
        FFmpeg reader;
        videoStreams = reader.getVideoStreamCount(recordingPath(row.url));
    }
    const QList<BackupOutput> outputs = contextBackupOutputs(row, videoStreams);
    reportBackupResult(recordingBaseName(row.url), folder, outputs,
                       runBackupOutputs(outputs, withExtra, folder));
}
