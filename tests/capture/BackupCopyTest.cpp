// Real copies by the `ffmpeg` tool of generated recordings: every output opens
// in ffprobe, plays in mpv and carries exactly the input's packets; repeated
// backups replace earlier outputs; failing copies are reported and leave
// nothing behind.

#include "BackupTestSupport.h"

#include "capture/ClipBackup.h"
#include "common/PlaylistRecording.h"
#include "metadata/RecordingList.h"
#include "player/window/OrvoViewController.h"
#include "shared/PlayerState.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using backuptest::BackupEnvironmentGuard;
using backuptest::entry;
using backuptest::recordings;

QByteArray runTool(const QString& program, const QStringList& arguments, int* exitCode = nullptr) {
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    process.waitForFinished(60000);
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return process.readAllStandardOutput();
}

QString streamCodec(const QString& file, int stream) {
    return QString::fromUtf8(runTool(QStringLiteral("ffprobe"),
                                     {"-v", "error", "-select_streams", QString::number(stream),
                                      "-show_entries", "stream=codec_name", "-of", "csv=p=0", file}))
        .trimmed();
}

int streamCount(const QString& file, int* exitCode) {
    const QString text = QString::fromUtf8(
        runTool(QStringLiteral("ffprobe"),
                {"-v", "error", "-show_entries", "stream=index", "-of", "csv=p=0", file}, exitCode));
    return static_cast<int>(text.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size());
}

// The packets of one stream as sizes and digests, from the tool's framemd5
// output. H.264 packets are compared in Annex B form (an AVI file carries
// them so, a MOV file with length prefixes: the same bytes of picture); PCM
// sound is compared as its whole byte stream, since MOV regroups its samples
// into packets of another size.
QStringList streamPackets(const QString& file, int stream) {
    const QString codec = streamCodec(file, stream);
    const QString map = QStringLiteral("0:%1").arg(stream);
    if (codec.startsWith(QLatin1String("pcm_"))) {
        const QByteArray bytes =
            runTool(QStringLiteral("ffmpeg"),
                    {"-v", "error", "-nostdin", "-i", file, "-map", map, "-c", "copy", "-f", "data", "-"});
        return {codec, QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex()),
                QString::number(bytes.size())};
    }
    QStringList arguments{"-v", "error", "-nostdin", "-i", file, "-map", map, "-c", "copy"};
    if (codec == QLatin1String("h264"))
        arguments << "-bsf:v"
                  << "h264_mp4toannexb";
    arguments << "-f"
              << "framemd5"
              << "-";
    QStringList packets{codec};
    for (const QString& line : QString::fromUtf8(runTool(QStringLiteral("ffmpeg"), arguments)).split('\n')) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char(','));
        if (fields.size() >= 6)
            packets << fields[4].trimmed() + QLatin1Char(' ') + fields[5].trimmed();
    }
    return packets;
}

// One output checked against its input: it opens, it plays, and each of its
// streams holds the packets of the input stream it was copied from.
void expectExactCopy(const QString& output, const QString& input, const QList<int>& inputStreams) {
    SCOPED_TRACE(output.toStdString());
    int probeExit = -1;
    ASSERT_EQ(streamCount(output, &probeExit), inputStreams.size());
    EXPECT_EQ(probeExit, 0);
    for (int i = 0; i < inputStreams.size(); ++i) {
        const QStringList expected = streamPackets(input, inputStreams[i]);
        EXPECT_GT(expected.size(), 1);
        EXPECT_EQ(streamPackets(output, i), expected) << "stream " << i;
    }
    if (!QStandardPaths::findExecutable(QStringLiteral("mpv")).isEmpty()) {
        int playExit = -1;
        runTool(QStringLiteral("mpv"),
                {"--no-config", "--vo=null", "--ao=null", "--ao-null-untimed", "--untimed", "--really-quiet",
                 output},
                &playExit);
        EXPECT_EQ(playExit, 0) << "mpv could not play it";
    }
}

struct CopyCase {
    const char* label;
    orvoTableModel row;
    bool withExtra;
    bool contextMenu;
    // Each output: name, input file, the input streams it holds.
    QList<std::tuple<QString, QString, QList<int>>> outputs;
};

TEST(BackupCopy, EveryLayoutIsCopiedPacketForPacket) {
    const auto& r = recordings();
    const QList<CopyCase> cases = {
        {"MP4 with a data track, with sound",
         entry(r.dataTrack),
         true,
         false,
         {{"20241108-083000_F_N_F_backup.mov", r.dataTrack, {0, 1}}}},
        {"MP4 with a data track, context menu",
         entry(r.dataTrack),
         true,
         true,
         {{"20241108-083000_F_N-0CH-backup.mov", r.dataTrack, {0, 1}}}},
        {"MP4 with boxes, rear channel, video only",
         entry(r.boxes),
         false,
         false,
         {{"20241108-084000_R_E_R_backup.mov", r.boxes, {0}}}},
        {"MP4 with boxes, context menu",
         entry(r.boxes),
         true,
         true,
         {{"20241108-084000_R_E-0CH-backup.mov", r.boxes, {0, 1}}}},
        {"AVI with two video streams and the sound",
         entry(r.twoStreamAvi),
         true,
         false,
         {{"20241108-085000_N_F_backup.mov", r.twoStreamAvi, {0, 2}},
          {"20241108-085000_N_R_backup.mov", r.twoStreamAvi, {1, 2}}}},
        {"AVI with two video streams, video only, context menu",
         entry(r.twoStreamAvi),
         false,
         true,
         {{"20241108-085000_N-0CH-backup.mov", r.twoStreamAvi, {0}},
          {"20241108-085000_N-1CH-backup.mov", r.twoStreamAvi, {1}}}},
        // The rear and inside files have no sound (their stream after the video is the data
        // track): their copies hold the video alone.
        {"channel files F, R and I",
         entry(r.front, r.rear, r.inside),
         true,
         false,
         {{"20241108-090000_F_N_backup.mov", r.front, {0, 1}},
          {"20241108-090000_I_N_backup.mov", r.inside, {0}},
          {"20241108-090000_R_N_backup.mov", r.rear, {0}}}},
        // An AVI without sound: the stream after the video is data, which is not copied.
        {"silent AVI with sound asked for, context menu",
         entry(r.silentAvi),
         true,
         true,
         {{"20241108-086000_P-0CH-backup.mov", r.silentAvi, {0}},
          {"20241108-086000_P-1CH-backup.mov", r.silentAvi, {1}}}},
        {"silent AVI with sound asked for",
         entry(r.silentAvi),
         true,
         false,
         {{"20241108-086000_P_F_backup.mov", r.silentAvi, {0}},
          {"20241108-086000_P_R_backup.mov", r.silentAvi, {1}}}},
        {"single rear file without sound, context menu",
         entry(r.rear),
         true,
         true,
         {{"20241108-090000_R_N-0CH-backup.mov", r.rear, {0}}}},
        {"channel files, context menu, video only",
         entry(r.front, r.rear, r.inside),
         false,
         true,
         {{"20241108-090000_F_N-1CH-backup.mov", r.front, {0}},
          {"20241108-090000_F_N-2CH-backup.mov", r.rear, {0}}}},
    };
    for (const CopyCase& c : cases) {
        SCOPED_TRACE(c.label);
        BackupEnvironmentGuard guard;
        if (c.contextMenu) {
            backupRecordingFromContextMenu(c.row, c.withExtra);
        } else {
            QDir().mkpath(guard.desktop);
            const bool twoStreams = c.row.url == QUrl::fromLocalFile(r.twoStreamAvi) ||
                                    c.row.url == QUrl::fromLocalFile(r.silentAvi);
            const int streams = c.row.row.merge ? 0 : (twoStreams ? 2 : 1);
            EXPECT_TRUE(runBackupOutputs(backupOutputs(c.row, streams), c.withExtra, guard.desktop)
                            .failures.isEmpty());
        }
        EXPECT_TRUE(guard.alerts.isEmpty()) << guard.alerts.join('\n').toStdString();
        if (c.contextMenu) {
            // The window says where the backup went, and that a recording without sound gave the video alone.
            ASSERT_EQ(guard.notices.size(), 1);
            EXPECT_TRUE(guard.notices[0].startsWith(QLatin1String("Backup Complete | ")));
            EXPECT_TRUE(guard.notices[0].contains(guard.desktop));
            const bool silent =
                c.withExtra && std::any_of(c.outputs.begin(), c.outputs.end(),
                                           [](const auto& o) { return std::get<2>(o).size() == 1; });
            EXPECT_EQ(guard.notices[0].contains(QLatin1String("The recording has no sound")), silent);
        }
        QStringList names;
        for (const auto& output : c.outputs)
            names << std::get<0>(output);
        names.sort();
        EXPECT_EQ(guard.desktopFiles(), names);
        for (const auto& [name, input, streams] : c.outputs)
            expectExactCopy(guard.desktop + QLatin1Char('/') + name, input, streams);
    }
}

TEST(BackupCopy, RepeatedBackupReplacesEarlierOutputsAndKeepsOthers) {
    const auto& r = recordings();
    BackupEnvironmentGuard guard;
    QDir().mkpath(guard.desktop);
    // An unrelated file and a broken earlier output of the same name.
    QFile other(guard.desktop + QStringLiteral("/notes.txt"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("keep me");
    other.close();
    QFile broken(guard.desktop + QStringLiteral("/20241108-085000_N-0CH-backup.mov"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("old");
    broken.close();

    for (int round = 0; round < 2; ++round) {
        backupRecordingFromContextMenu(entry(r.twoStreamAvi), true);
        EXPECT_EQ(guard.desktopFiles(), (QStringList{"20241108-085000_N-0CH-backup.mov",
                                                     "20241108-085000_N-1CH-backup.mov", "notes.txt"}));
    }
    EXPECT_TRUE(guard.alerts.isEmpty()) << guard.alerts.join('\n').toStdString();
    EXPECT_EQ(guard.runs.size(), 4);
    expectExactCopy(guard.desktop + QStringLiteral("/20241108-085000_N-0CH-backup.mov"), r.twoStreamAvi,
                    {0, 2});
    QFile kept(guard.desktop + QStringLiteral("/notes.txt"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep me"));
}

TEST(BackupCopy, FailuresAreReportedOnceAndTheOtherOutputsStillRun) {
    const auto& r = recordings();
    // A rear channel file that is a pipe, and one that is a playlist naming a pipe.
    QTemporaryDir hostile;
    const QString pipe = hostile.filePath(QStringLiteral("20241108-090000_R_N.mp4"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString playlist = hostile.filePath(QStringLiteral("20241108-090100_R_N.mp4"));
    ASSERT_TRUE(playlisttest::writePlaylistRecording(playlist, playlisttest::Playlist::Hls,
                                                     QStringLiteral("seg.ts")));
    struct FaultCase {
        const char* label;
        std::function<void(BackupEnvironmentGuard&)> arrange;
        orvoTableModel row;
        bool withExtra;
        QStringList failed;  // named in the one alert, each with the reason
        QStringList written; // in the folder afterwards
        const char* reason;
    };
    const char* const noTool = "The ffmpeg tool was not found.";
    const char* const copyFailed = "The video could not be copied.";
    const QList<FaultCase> cases = {
        {"no ffmpeg",
         [](BackupEnvironmentGuard&) { clipBackupEnvironment().ffmpegPath = [] { return std::nullopt; }; },
         entry(r.twoStreamAvi), false,
         QStringList{"20241108-085000_N-0CH-backup.mov", "20241108-085000_N-1CH-backup.mov"}, QStringList{},
         noTool},
        {"ffmpeg gone since it was found",
         [](BackupEnvironmentGuard& g) {
             clipBackupEnvironment().ffmpegPath = [&g] {
                 return g.folder.path() + QStringLiteral("/gone/ffmpeg");
             };
         },
         entry(r.boxes), false, QStringList{"20241108-084000_R_E-0CH-backup.mov"}, QStringList{}, noTool},
        {"the first copy fails, the second is written",
         [](BackupEnvironmentGuard& g) {
             g.fakeRun = [&g](const QString& program, const QStringList& arguments) {
                 if (g.runs.size() == 1)
                     return Process::Result{true, 1, false};
                 return Process::runAndWait(program, arguments, 60000);
             };
         },
         entry(r.front, r.rear), false, QStringList{"20241108-090000_F_N-1CH-backup.mov"},
         QStringList{"20241108-090000_F_N-2CH-backup.mov"}, copyFailed},
        {"a killed copy leaves no half file",
         [](BackupEnvironmentGuard& g) {
             g.fakeRun = [](const QString&, const QStringList& arguments) {
                 QFile half(arguments.last());
                 if (half.open(QIODevice::WriteOnly))
                     half.write("half");
                 return Process::Result{true, -1, true};
             };
         },
         entry(r.boxes), false, QStringList{"20241108-084000_R_E-0CH-backup.mov"}, QStringList{}, copyFailed},
        {"a tool that ends well but leaves no video",
         [](BackupEnvironmentGuard& g) {
             g.fakeRun = [](const QString&, const QStringList& arguments) {
                 QFile half(arguments.last());
                 if (half.open(QIODevice::WriteOnly))
                     half.write(QByteArray(4096, '\0'));
                 return Process::Result{true, 0, false};
             };
         },
         entry(r.boxes), false, QStringList{"20241108-084000_R_E-0CH-backup.mov"}, QStringList{}, copyFailed},
        {"a folder in the way of an output is kept",
         [](BackupEnvironmentGuard& g) {
             QDir().mkpath(g.desktop + QStringLiteral("/20241108-085000_N-1CH-backup.mov/inner"));
         },
         entry(r.twoStreamAvi), false, QStringList{"20241108-085000_N-1CH-backup.mov"},
         QStringList{"20241108-085000_N-0CH-backup.mov", "20241108-085000_N-1CH-backup.mov"},
         "A folder of the same name is in the way."},
        {"a folder that cannot be listed",
         [](BackupEnvironmentGuard& g) {
             // A file where the folder should be: it cannot be listed or written.
             QFile file(g.folder.path() + QStringLiteral("/notafolder"));
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             clipBackupEnvironment().desktopFolder = [path = file.fileName()] { return path; };
         },
         entry(r.boxes), false, QStringList{"20241108-084000_R_E-0CH-backup.mov"}, QStringList{},
         "The folder does not exist."},
        {"a channel file that is a pipe", [](BackupEnvironmentGuard&) {}, entry(r.front, pipe), true,
         QStringList{"20241108-090000_F_N-2CH-backup.mov"}, QStringList{"20241108-090000_F_N-1CH-backup.mov"},
         "The recording cannot be read: it is not a regular file."},
        {"a channel file that is a playlist", [](BackupEnvironmentGuard&) {}, entry(r.front, playlist), true,
         QStringList{"20241108-090000_F_N-2CH-backup.mov"}, QStringList{"20241108-090000_F_N-1CH-backup.mov"},
         copyFailed},
        {"a file that cannot be read gives nothing to copy", [](BackupEnvironmentGuard&) {},
         entry(r.dir + QStringLiteral("/20241108-099999_F_N.mp4")), true, QStringList{}, QStringList{},
         "No video stream could be read from the recording."},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.label);
        BackupEnvironmentGuard guard;
        QDir().mkpath(guard.desktop);
        c.arrange(guard);
        {
            playlisttest::FifoWatchdog pipeWatch(pipe);
            playlisttest::FifoWatchdog playlistWatch(hostile.filePath(QStringLiteral("seg.ts")));
            backupRecordingFromContextMenu(c.row, c.withExtra);
            EXPECT_FALSE(pipeWatch.released() || playlistWatch.released()) << "the tool waited at a pipe";
        }
        ASSERT_EQ(guard.alerts.size(), 1);
        EXPECT_TRUE(guard.alerts[0].startsWith(QLatin1String("Backup Error | ")));
        for (const QString& name : c.failed)
            EXPECT_TRUE(guard.alerts[0].contains(name + QStringLiteral(": ") + QLatin1String(c.reason)))
                << guard.alerts[0].toStdString();
        EXPECT_TRUE(guard.alerts[0].contains(QLatin1String(c.reason))) << guard.alerts[0].toStdString();
        EXPECT_TRUE(guard.notices.isEmpty());
        if (c.failed.isEmpty()) {
            EXPECT_TRUE(guard.alerts[0].contains(QLatin1String("20241108-099999_F_N")));
        }
        EXPECT_EQ(guard.desktopFiles(), c.written);
    }
}

TEST(BackupCopy, ContextMenuEntriesOfTheWindowPlayer) {
    BackupEnvironmentGuard guard;
    currentRecording.reset();
    OrvoViewController player;
    player.contextBackupVideo(); // nothing playing: nothing happens
    EXPECT_TRUE(guard.runs.isEmpty());
    currentRecording = entry(recordings().front, recordings().rear, recordings().inside);
    player.contextBackupVideoOnly();
    currentRecording.reset();
    EXPECT_EQ(guard.desktopFiles(),
              (QStringList{"20241108-090000_F_N-1CH-backup.mov", "20241108-090000_F_N-2CH-backup.mov"}));
    EXPECT_TRUE(guard.alerts.isEmpty());
}

} // namespace

namespace {

TEST(BackupCopy, ToolGetsNoInputAndItsOutputNeverBlocksIt) {
    BackupEnvironmentGuard guard;
    QDir().mkpath(guard.desktop);
    // A tool that reads its input to the end and writes far more than a pipe holds.
    const QString tool = guard.folder.path() + QStringLiteral("/chatty-ffmpeg");
    QFile script(tool);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n"
                 "cat >/dev/null\n"
                 "head -c 4000000 /dev/zero\n"
                 "head -c 4000000 /dev/zero >&2\n"
                 "exec ffmpeg \"$@\"\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    clipBackupEnvironment().ffmpegPath = [tool] { return tool; };
    // The real run, as the player makes it.
    clipBackupEnvironment().run = [](const QString& program, const QStringList& arguments,
                                     Process::Cancellation* cancellation) {
        return Process::runInEventLoop(program, arguments, 30000, true, false, cancellation);
    };
    EXPECT_TRUE(runBackupRemux(0, 1, true, recordings().boxes, QStringLiteral("out.mov"), guard.desktop));
    EXPECT_EQ(guard.desktopFiles(), QStringList{"out.mov"});
}

} // namespace
