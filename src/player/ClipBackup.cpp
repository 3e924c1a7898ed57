#include "player/ClipBackup.h"

#include "metadata/FFmpeg.h"
#include "platform/Bundle.h"
#include "platform/FileManager.h"
#include "platform/Localization.h"
#include "platform/UserDefaults.h"
#include "player/DefaultsKeys.h"
#include "player/FolderOpener.h"
#include "player/showAlert.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>
#include <unistd.h>

namespace {

// A copy reads and writes the recording once; even an hour of recording on a
// slow card is done long before this, and a tool that hangs must not hold the
// player for ever.
constexpr int kToolTimeoutMs = 30 * 60 * 1000;

const QString kBackupErrorTitle = QStringLiteral("Backup Error");
const QString kFailedOutputsMessage = QStringLiteral("These backup files could not be written:");
const QString kNothingToCopyMessage = QStringLiteral("No video stream could be read from the recording.");
const QString kNoToolMessage = QStringLiteral("The ffmpeg tool was not found.");

void print(const QString& text) {
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

void printError(const QString& description) {
    print(QStringLiteral("Error: ") + description);
}

std::optional<QString> ffmpegTool() {
    auto& environment = clipBackupEnvironment();
    return environment.ffmpegPath ? environment.ffmpegPath() : Bundle::ffmpegPath();
}

Process::Result runTool(const QString& program, const QStringList& arguments) {
    auto& environment = clipBackupEnvironment();
    if (environment.run)
        return environment.run(program, arguments);
    return Process::runAndWait(program, arguments, kToolTimeoutMs);
}

// A name that stays inside the folder it is joined to.
bool isPlainFileName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

// Removes the old output `path` (a file or a link, never a folder).
bool removeOldOutput(const QString& path, QString& error) {
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink()) {
        error = QStringLiteral("\u201C%1\u201D couldn\u2019t be removed because it is a folder.")
                    .arg(info.fileName());
        return false;
    }
    QFile file(path);
    if (!file.remove()) {
        error = QStringLiteral("\u201C%1\u201D couldn\u2019t be removed: %2")
                    .arg(info.fileName(), file.errorString());
        return false;
    }
    return true;
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
    const QString path = url.isLocalFile() ? url.toLocalFile() : url.path();
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

bool runBackupRemux(int a, int b, bool withExtra, const QString& input, const QString& outputName,
                    const QString& folder) {
    if (!isPlainFileName(outputName)) {
        printError(QStringLiteral("\u201C%1\u201D is not a file name.").arg(outputName));
        return false;
    }
    QString error;
    const std::optional<QList<QUrl>> entries =
        FileManager::contentsOfDirectory(QUrl::fromLocalFile(folder), &error);
    if (!entries) {
        printError(error);
        return false;
    }
    const QString output = QDir(folder).filePath(outputName);
    for (const QUrl& entry : *entries) {
        if (FileManager::lastPathComponent(entry) != outputName)
            continue;
        if (!removeOldOutput(output, error)) {
            printError(error);
            return false;
        }
    }
    if (::access(QFile::encodeName(folder).constData(), W_OK) != 0) {
        printError(
            QStringLiteral("The folder \u201C%1\u201D is not writable.").arg(QFileInfo(folder).fileName()));
        return false;
    }
    const std::optional<QString> tool = ffmpegTool();
    if (!tool) {
        printError(kNoToolMessage);
        return false;
    }

    const Process::Result result = runTool(*tool, ffmpegRemuxArguments(a, b, withExtra, input, output));
    if (result.started && !result.crashed && result.exitCode == 0 && QFileInfo(output).isFile())
        return true;

    if (!result.started)
        printError(QStringLiteral("%1 could not be started.").arg(*tool));
    else if (result.crashed)
        printError(QStringLiteral("%1 did not finish the copy into %2.").arg(*tool, output));
    else
        printError(
            QStringLiteral("%1 exited with status %2 on %3.").arg(*tool).arg(result.exitCode).arg(output));
    // The old output was removed above: whatever stands there now is this run's broken file.
    if (QFileInfo(output).isFile())
        QFile::remove(output);
    return false;
}

QStringList runBackupOutputs(const QList<BackupOutput>& outputs, bool withExtra, const QString& folder) {
    QStringList failed;
    for (const BackupOutput& output : outputs)
        if (!runBackupRemux(output.a, output.b, withExtra, output.input, output.name, folder))
            failed.append(output.name);
    return failed;
}

void reportBackupFailures(const QString& recordingName, const QStringList& failedNames, bool nothingToCopy) {
    QString message;
    if (nothingToCopy)
        message = localized(kNothingToCopyMessage) + QStringLiteral("\n") + recordingName;
    else if (!failedNames.isEmpty())
        message =
            localized(kFailedOutputsMessage) + QStringLiteral("\n") + failedNames.join(QLatin1Char('\n'));
    else
        return;
    if (!nothingToCopy && !ffmpegTool())
        message += QStringLiteral("\n\n") + localized(kNoToolMessage);
    auto& environment = clipBackupEnvironment();
    if (environment.alert)
        environment.alert(kBackupErrorTitle, message);
    else
        showAlert(kBackupErrorTitle, message);
}

QString backupFolder(const std::function<std::optional<QUrl>(const QByteArray& data)>& resolve) {
    const QString key = QString::fromLatin1(DefaultsKey::kBackupBookMark);
    if (const std::optional<QByteArray> data = UserDefaults::standard().data(key))
        if (const std::optional<QUrl> url = resolve(*data))
            return url->toLocalFile();
    const QString folder = desktopFolder();
    // The default folder may not exist yet on a fresh account.
    QDir().mkpath(folder);
    return folder;
}

void backupRecordingFromContextMenu(const orvoTableModel& row, bool withExtra) {
    const QString folder = backupFolder([](const QByteArray& data) {
        return resolveBookmark(data, QString::fromLatin1(DefaultsKey::kBackupBookMark));
    });
    int videoStreams = 0;
    if (!row.row.merge) {
        FFmpeg reader;
        videoStreams = reader.getVideoStreamCount(recordingPath(row.url));
    }
    const QList<BackupOutput> outputs = contextBackupOutputs(row, videoStreams);
    const QStringList failed = runBackupOutputs(outputs, withExtra, folder);
    reportBackupFailures(recordingBaseName(row.url), failed, outputs.isEmpty());
}
