#pragma once

// Generated recordings, a backup folder of its own and the tool's runs as
// seen by the backup tests.

#include "SampleGen.h"
#include "common/RecordingEntry.h"

#include "capture/ClipBackup.h"
#include "metadata/orvoTableModel.h"
#include "platform/system/UserDefaults.h"
#include "shared/DefaultsKeys.h"

#include <QDir>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace backuptest {

using ::entry;

// The recordings every backup test uses, written once per run (3 s, small pictures).
struct Recordings {
    QString dir;
    QString dataTrack;           // MP4 data-track layout, sound: 0 video, 1 sound, 2 data
    QString boxes;               // MP4 box layout, rear channel, sound: 0 video, 1 sound
    QString twoStreamAvi;        // short-form AVI: 0 and 1 video, 2 sound, 3 data
    QString silentAvi;           // short-form AVI without sound: 0 and 1 video, 2 data
    QString front, rear, inside; // one recording as channel files; sound in the front file only
};

inline const Recordings& recordings() {
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/kavrin-backup-XXXXXX"));
    static Recordings made = [] {
        Recordings r;
        r.dir = dir.path();
        const auto write = [&r](const QString& name, samplegen::Layout layout, samplegen::Look look,
                                bool audio, int videoStreams) {
            samplegen::RecordingOptions options;
            options.layout = layout;
            options.look = look;
            options.audio = audio;
            options.videoStreams = videoStreams;
            options.seconds = 3;
            options.width = 160;
            options.height = 96;
            options.fps = 10;
            options.samplesPerSecond = 2;
            const QString path = r.dir + QLatin1Char('/') + name;
            samplegen::writeRecording(path.toStdString(), options);
            return path;
        };
        using samplegen::Layout;
        using samplegen::Look;
        r.dataTrack =
            write(QStringLiteral("20241108-083000_F_N.mp4"), Layout::DataTrack, Look::Front, true, 1);
        r.boxes = write(QStringLiteral("20241108-084000_R_E.mp4"), Layout::Boxes, Look::Rear, true, 1);
        r.twoStreamAvi = write(QStringLiteral("20241108-085000_N.avi"), Layout::Avi, Look::Front, true, 2);
        r.silentAvi = write(QStringLiteral("20241108-086000_P.avi"), Layout::Avi, Look::Front, false, 2);
        r.front = write(QStringLiteral("20241108-090000_F_N.mp4"), Layout::DataTrack, Look::Front, true, 1);
        r.rear = write(QStringLiteral("20241108-090000_R_N.mp4"), Layout::DataTrack, Look::Rear, false, 1);
        r.inside =
            write(QStringLiteral("20241108-090000_I_N.mp4"), Layout::DataTrack, Look::Interior, false, 1);
        return r;
    }();
    return made;
}

// A stand-in for the tool in `folder` that writes kSlowToolBytes into its output (its last
// argument) and then waits: a copy under way. Its path.
inline constexpr qint64 kSlowToolBytes = 65536;
inline QString writeSlowTool(const QString& folder) {
    const QString tool = folder + QStringLiteral("/slow-ffmpeg");
    QFile script(tool);
    if (!script.open(QIODevice::WriteOnly))
        return {};
    script.write("#!/bin/sh\nfor last; do :; done\nhead -c 65536 /dev/zero >\"$last\"\nexec sleep 600\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    return tool;
}

// For one test: backups go to a fresh Desktop folder (no "backupBookMark"),
// alerts and notices are collected, and every run of the tool is recorded (and, unless
// `fakeRun` is set, really made).
class BackupEnvironmentGuard {
public:
    BackupEnvironmentGuard() {
        auto& environment = clipBackupEnvironment();
        saved = environment;
        desktop = folder.path() + QStringLiteral("/Desktop");
        environment.desktopFolder = [this] { return desktop; };
        environment.alert = [this](const QString& title, const QString& message) {
            alerts.append(title + QStringLiteral(" | ") + message);
        };
        environment.notice = [this](const QString& title, const QString& message) {
            notices.append(title + QStringLiteral(" | ") + message);
        };
        environment.run = [this](const QString& program, const QStringList& arguments,
                                 Process::Cancellation* cancellation) {
            runs.append(arguments);
            if (fakeRun)
                return fakeRun(program, arguments);
            // As the player runs it: the end of the error output kept, to say why it failed.
            return Process::runInEventLoop(program, arguments, 60000, true, cancellation != nullptr,
                                           cancellation);
        };
        UserDefaults::standard().removeObject(QString::fromLatin1(DefaultsKey::kBackupBookMark));
    }
    ~BackupEnvironmentGuard() {
        clipBackupEnvironment() = saved;
        UserDefaults::standard().removeObject(QString::fromLatin1(DefaultsKey::kBackupBookMark));
    }

    // The file names in the Desktop folder, hidden ones included, sorted.
    QStringList desktopFiles() const {
        return QDir(desktop).entryList(
            QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir folder;
    QString desktop;
    QStringList alerts;
    QStringList notices;
    QList<QStringList> runs;
    std::function<Process::Result(const QString&, const QStringList&)> fakeRun;

private:
    ClipBackupEnvironment saved;
};

} // namespace backuptest
