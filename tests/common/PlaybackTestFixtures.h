#pragma once

// Generated recordings and a loaded window player for the playback tests.

#include "EventLoopWait.h"
#include "SampleGen.h"
#include "common/RecordingEntry.h"

#include "metadata/RecordingList.h"
#include "platform/media/Player.h"
#include "playback/ChannelComposition.h"
#include "shared/PlayerState.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace playbacktest {

using ::entry;

// The files every playback test uses, written once per run.
struct Files {
    QString dir;
    QString front, rear, inside; // one three-channel recording (sound in the front file)
    QString frontSilent;         // a front file without sound
    QString single;              // a one-channel recording
    QString shortClip;           // a one-channel recording of 1.5 s
    QString twoStreamAvi;        // a short-form AVI with two video streams
    QString notMedia;            // a file that is no recording
};

inline const Files& files() {
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/kavrin-playback-XXXXXX"));
    static Files made = [] {
        Files f;
        f.dir = dir.path();
        samplegen::RecordingOptions options;
        options.seconds = 6;
        options.width = 320;
        options.height = 180;
        options.fps = 30;
        const auto write = [&](const QString& name, samplegen::Look look, bool audio, double seconds) {
            samplegen::RecordingOptions o = options;
            o.look = look;
            o.audio = audio;
            o.seconds = seconds;
            const QString path = f.dir + QLatin1Char('/') + name;
            samplegen::writeRecording(path.toStdString(), o);
            return path;
        };
        f.front = write(QStringLiteral("20241108-083000_F_N.mp4"), samplegen::Look::Front, true, 6);
        f.rear = write(QStringLiteral("20241108-083000_R_N.mp4"), samplegen::Look::Rear, false, 6);
        f.inside = write(QStringLiteral("20241108-083000_I_N.mp4"), samplegen::Look::Interior, false, 6);
        f.frontSilent = write(QStringLiteral("20241108-090000_F_N.mp4"), samplegen::Look::Front, false, 4);
        f.single = write(QStringLiteral("20241108-091000_F_E.mp4"), samplegen::Look::Front, true, 4);
        f.shortClip = write(QStringLiteral("20241108-092000_F_N.mp4"), samplegen::Look::Front, true, 1.5);
        samplegen::RecordingOptions avi = options;
        avi.layout = samplegen::Layout::Avi;
        avi.videoStreams = 2;
        avi.seconds = 3;
        f.twoStreamAvi = f.dir + QStringLiteral("/20241108-093000_N.avi");
        samplegen::writeRecording(f.twoStreamAvi.toStdString(), avi);
        f.notMedia = f.dir + QStringLiteral("/20241108-094000_R_N.mp4");
        QFile text(f.notMedia);
        if (text.open(QIODevice::WriteOnly))
            text.write("not a recording");
        return f;
    }();
    return made;
}

// Waits for `condition`, letting the event loop run; false after the timeout.
inline bool waitFor(const std::function<bool()>& condition, int timeoutMs = 20000) {
    return looptest::runUntil(condition, timeoutMs, 10, 2);
}

// Replaces the alert and the Movies folder of the media routines for one test.
class MediaEnvironmentGuard {
public:
    explicit MediaEnvironmentGuard(const QString& movies) {
        auto& environment = channelCompositionEnvironment();
        saved = environment;
        environment.moviesFolder = [movies] {
            QDir().mkpath(movies);
            return movies;
        };
        environment.alert = [this](const QString& title, const QString& message) {
            alerts.append(title + QStringLiteral(" | ") + message);
        };
    }
    ~MediaEnvironmentGuard() { channelCompositionEnvironment() = saved; }
    QStringList alerts;

private:
    ChannelCompositionEnvironment saved;
};

// Resets the shared state a playback test depends on.
inline void resetPlayerState() {
    resetSharedPlayerState();
}

} // namespace playbacktest
