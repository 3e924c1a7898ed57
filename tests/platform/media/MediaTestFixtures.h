#pragma once

// Short media files made with the ffmpeg tool once per test run, and an event-loop wait.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <functional>

namespace mediatest {

struct Fixtures {
    QString videoWithSound; // testsrc2 320x180 30 fps + 440 Hz sine, 2 s: streams video 0, audio 1
    QString twoVideos;      // two video streams (0, 1) and a sine (2), 2 s
    QString soundOnly;      // 880 Hz sine, 3 s: stream audio 0; its name holds a ":"
    QString notMedia;       // a text file
    QString missing;        // a path that does not exist
    bool ok = false;
};

inline bool runFfmpeg(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("ffmpeg"), QStringList{"-v", "error", "-y"} + arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// Made on first use, removed when the process ends.
inline const Fixtures& fixtures() {
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/kavrin-media-XXXXXX"));
    static Fixtures made = [] {
        Fixtures f;
        if (!dir.isValid() || QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty())
            return f;
        const QString root = dir.path();
        f.videoWithSound = root + "/front.mp4";
        f.twoVideos = root + "/two channels.mp4";
        f.soundOnly = root + "/sound: rear 1.m4a"; // a ":" must not split the path
        f.notMedia = root + "/notes.txt";
        f.missing = root + "/missing.mp4";
        const QString video = "testsrc2=size=320x180:rate=30:duration=2";
        bool ok = runFfmpeg({"-f", "lavfi", "-i", video, "-f", "lavfi", "-i", "sine=frequency=440:duration=2",
                             "-c:v", "libx264", "-g", "15", "-pix_fmt", "yuv420p", "-c:a", "aac", "-shortest",
                             f.videoWithSound});
        ok = ok && runFfmpeg({"-f",   "lavfi", "-i",       video,
                              "-f",   "lavfi", "-i",       "testsrc=size=320x180:rate=30:duration=2",
                              "-f",   "lavfi", "-i",       "sine=frequency=330:duration=2",
                              "-map", "0",     "-map",     "1",
                              "-map", "2",     "-c:v",     "libx264",
                              "-g",   "15",    "-pix_fmt", "yuv420p",
                              "-c:a", "aac",   f.twoVideos});
        ok = ok &&
             runFfmpeg({"-f", "lavfi", "-i", "sine=frequency=880:duration=3", "-c:a", "aac", f.soundOnly});
        QFile text(f.notMedia);
        ok = ok && text.open(QIODevice::WriteOnly) && text.write("not a video\n") > 0;
        f.ok = ok;
        return f;
    }();
    return made;
}

// Runs the event loop until `done` holds or `timeoutMs` passed; returns whether it holds. The
// limit is generous: decoding threads may get little of a loaded machine.
inline bool waitFor(const std::function<bool()>& done, int timeoutMs = 30000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

// Lets the event loop run for `ms` (for checking that something does not happen again).
inline void spin(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
}

} // namespace mediatest

#define REQUIRE_MEDIA_FIXTURES()                                                                             \
    do {                                                                                                     \
        if (!mediatest::fixtures().ok)                                                                       \
            GTEST_SKIP() << "the ffmpeg tool is needed to make the media fixtures";                          \
    } while (false)
