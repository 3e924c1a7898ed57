// What a backup leaves in its folder: nothing under an output's name until the
// copy is whole (a backup killed mid-copy included, whose rest the next backup
// into the folder removes), recordings whose names are not UTF-8, and full or
// read-only folders, which the alert names in the user's language.

#include "BackupTestSupport.h"
#include "CaptureTestSupport.h"
#include "ScratchMount.h"

#include "capture/BackupViewController.h"
#include "common/EventLoopWait.h"
#include "metadata/FFmpeg.h"
#include "platform/system/FileManager.h"
#include "platform/system/FileSystemRepresentation.h"
#include "platform/system/Localization.h"
#include "platform/system/PartialFile.h"
#include "shared/PlayerState.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using backuptest::BackupEnvironmentGuard;
using backuptest::entry;
using backuptest::recordings;
using capturetest::ScratchMount;

constexpr char kKilledFolder[] = "KAVRIN_KILLED_BACKUP_FOLDER";
constexpr char kKilledTool[] = "KAVRIN_KILLED_BACKUP_TOOL";
constexpr char kKilledInput[] = "KAVRIN_KILLED_BACKUP_INPUT";

QString hiddenEntry(const QString& folder) {
    const QStringList hidden = QDir(folder).entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
    return hidden.isEmpty() ? QString() : hidden.first();
}

// The backup that the test below kills: it runs only in the process that test starts.
TEST(BackupFolder, BackupToBeKilled) {
    if (!qEnvironmentVariableIsSet(kKilledFolder))
        GTEST_SKIP() << "runs in the process of AKilledBackupLeavesNothingUnderTheName";
    auto& environment = clipBackupEnvironment();
    environment.desktopFolder = [] { return qEnvironmentVariable(kKilledFolder); };
    environment.ffmpegPath = [] { return qEnvironmentVariable(kKilledTool); };
    environment.alert = [](const QString&, const QString&) {};
    environment.notice = [](const QString&, const QString&) {};
    backupRecordingFromContextMenu(entry(qEnvironmentVariable(kKilledInput)), false);
}

TEST(BackupFolder, AKilledBackupLeavesNothingUnderTheNameAndTheNextRemovesItsRest) {
    BackupEnvironmentGuard guard;
    QDir().mkpath(guard.desktop);
    const QString name = QStringLiteral("20241108-084000_R_E-0CH-backup.mov");
    // A long copy: half a file written, then the tool waits.
    const QString tool = backuptest::writeSlowTool(guard.folder.path());
    ASSERT_FALSE(tool.isEmpty());

    QProcess player;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kKilledFolder), guard.desktop);
    environment.insert(QString::fromLatin1(kKilledTool), tool);
    environment.insert(QString::fromLatin1(kKilledInput), recordings().boxes);
    player.setProcessEnvironment(environment);
    player.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    player.setStandardOutputFile(QProcess::nullDevice());
    player.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=BackupFolder.BackupToBeKilled")});
    ASSERT_TRUE(player.waitForStarted(30000));
    const bool copying = looptest::waitUntil(
        [&] {
            const QString partial = hiddenEntry(guard.desktop);
            return !partial.isEmpty() &&
                   QFileInfo(guard.desktop + QLatin1Char('/') + partial).size() == backuptest::kSlowToolBytes;
        },
        60000);
    player.kill();
    player.waitForFinished(30000);
    ASSERT_TRUE(copying) << "the copy did not start";
    // Only the hidden rest of the killed copy stands in the folder.
    const QStringList left = guard.desktopFiles();
    ASSERT_EQ(left.size(), 1);
    EXPECT_TRUE(left.first().startsWith(QLatin1Char('.') + name)) << left.first().toStdString();

    // The next backup into the folder removes it, but not the file of a copy that is still going on.
    PartialFile going(guard.desktop + QStringLiteral("/other.mov"));
    ASSERT_TRUE(going.isOpen());
    backupRecordingFromContextMenu(entry(recordings().boxes), false);
    EXPECT_TRUE(guard.alerts.isEmpty()) << guard.alerts.join('\n').toStdString();
    const QString goingName = QFileInfo(going.temporaryPath()).fileName();
    EXPECT_EQ(guard.desktopFiles(), (QStringList{goingName, name}));
    EXPECT_EQ(FFmpeg().getVideoStreamCount(guard.desktop + QLatin1Char('/') + name), 1);
}

TEST(BackupFolder, TheToolNeverWritesUnderTheNameAndAFileThatAppearsThereIsReplacedWhole) {
    BackupEnvironmentGuard guard;
    QDir().mkpath(guard.desktop);
    const QString output = guard.desktop + QStringLiteral("/20241108-084000_R_E-0CH-backup.mov");
    bool nameFreeWhileCopying = true;
    guard.fakeRun = [&](const QString& program, const QStringList& arguments) {
        nameFreeWhileCopying = nameFreeWhileCopying && !QFileInfo::exists(output) &&
                               QFileInfo(arguments.last()).absolutePath() == guard.desktop &&
                               QFileInfo(arguments.last()).fileName().startsWith(QLatin1Char('.'));
        // Another program puts a file under the name while the copy runs.
        QFile other(output);
        if (other.open(QIODevice::WriteOnly))
            other.write("other");
        other.close();
        return Process::runAndWait(program, arguments, 60000);
    };
    backupRecordingFromContextMenu(entry(recordings().boxes), true);
    EXPECT_TRUE(nameFreeWhileCopying);
    EXPECT_TRUE(guard.alerts.isEmpty()) << guard.alerts.join('\n').toStdString();
    EXPECT_EQ(guard.desktopFiles(), QStringList{QFileInfo(output).fileName()});
    EXPECT_EQ(FFmpeg().getAudioStreamCount(output), 1);
    // The container is named to the tool: the temporary name does not end in ".mov".
    ASSERT_EQ(guard.runs.size(), 1);
    EXPECT_EQ(guard.runs[0].mid(guard.runs[0].size() - 4, 3),
              (QStringList{QStringLiteral("-y"), QStringLiteral("-f"), QStringLiteral("mov")}));
}

TEST(BackupFolder, RecordingsWhoseNamesAreNotUtf8AreBackedUp) {
    // "백업" in EUC-KR: bytes that are no UTF-8.
    const QByteArray stem = QByteArrayLiteral("20241108-084000_R_E-\xB9\xE9\xBE\xF7");
    struct NameCase {
        const char* label;
        bool screen; // the backup screen's Save, else the context menu
        QByteArray output;
    };
    const QList<NameCase> cases = {
        {"backup screen", true, stem + "_R_backup.mov"},
        {"context menu", false, stem + "-0CH-backup.mov"},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.label);
        BackupEnvironmentGuard guard;
        QDir().mkpath(guard.desktop);
        const QByteArray input = QFile::encodeName(guard.folder.path()) + '/' + stem + ".mp4";
        ASSERT_EQ(::symlink(QFile::encodeName(recordings().boxes).constData(), input.constData()), 0);
        currentRecording = entry(QString());
        currentRecording->url = FileManager::fileURLWithFileSystemRepresentation(input);
        if (c.screen) {
            BackupViewController screen;
            screen.setAttribute(Qt::WA_DontShowOnScreen);
            screen.show();
            // The sound is found, so sound is offered.
            EXPECT_TRUE(screen.audioRadioBtn->isEnabled());
            EXPECT_TRUE(screen.audioRadioBtn->isChecked());
            capturetest::clickButton(screen.findChild<QPushButton*>(QStringLiteral("saveBtn")));
        } else {
            backupRecordingFromContextMenu(*currentRecording, true);
        }
        currentRecording.reset();
        EXPECT_TRUE(guard.alerts.isEmpty()) << guard.alerts.join('\n').toStdString();
        const QString written =
            platform::stringWithFileSystemRepresentation(QFile::encodeName(guard.desktop) + '/' + c.output);
        FFmpeg reader;
        EXPECT_EQ(reader.getVideoStreamCount(written), 1);
        EXPECT_EQ(reader.getAudioStreamCount(written), 1);
        const auto listed = FileManager::contentsOfDirectory(FileManager::fileURLWithPath(guard.desktop));
        ASSERT_TRUE(listed);
        EXPECT_EQ(listed->size(), 1);
        // Names that are not UTF-8 are beyond QTemporaryDir.
        ::unlink(platform::fileSystemRepresentation(written).constData());
        ::unlink(input.constData());
    }
}

TEST(BackupFolder, FullAndReadOnlyFoldersAndAMissingToolSayWhyInTheUsersLanguage) {
    using Kind = ScratchMount::Kind;
    struct ReasonCase {
        Kind kind;
        bool tool;
        const char* language;
        const char* reason;
    };
    const QList<ReasonCase> cases = {
        {Kind::Full, true, "en", "No space left on device."},
        {Kind::Full, true, "ko", "디스크에 남은 공간이 없습니다."},
        {Kind::ReadOnly, true, "en", "The folder is on a read-only disk."},
        {Kind::ReadOnly, true, "ja", "フォルダーは読み取り専用のディスクにあります。"},
        {Kind::Writable, false, "ko", "ffmpeg 도구를 찾을 수 없습니다."},
    };
    for (const ReasonCase& c : cases) {
        SCOPED_TRACE(c.reason);
        ScratchMount mount(c.kind);
        if (!mount.mounted())
            GTEST_SKIP() << "no permission to mount a file system";
        BackupEnvironmentGuard guard;
        clipBackupEnvironment().desktopFolder = [&mount] { return mount.path(); };
        if (!c.tool)
            clipBackupEnvironment().ffmpegPath = [] { return std::nullopt; };
        const QStringList before =
            QDir(mount.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        ASSERT_TRUE(setLocalizationLanguage(QString::fromLatin1(c.language)));
        backupRecordingFromContextMenu(entry(recordings().boxes), true);
        setLocalizationLanguage(QString());
        ASSERT_EQ(guard.alerts.size(), 1);
        EXPECT_TRUE(guard.alerts[0].contains(QStringLiteral("20241108-084000_R_E-0CH-backup.mov: ") +
                                             QString::fromUtf8(c.reason)))
            << guard.alerts[0].toStdString();
        EXPECT_EQ(QDir(mount.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  before);
    }
}

} // namespace
