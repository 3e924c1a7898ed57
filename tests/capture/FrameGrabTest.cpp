// The exact frame of an asset at a time, beside the frame the `ffmpeg` tool decodes there,
// for every recording layout the generator writes (the AVI after its rewrap, both of its
// video streams), HEVC, and a stream turned by its display matrix.

#include "CaptureTestSupport.h"
#include "common/PlaybackTestFixtures.h"

#include "common/PlaylistRecording.h"
#include "platform/media/AssetImageGenerator.h"
#include "platform/media/MutableComposition.h"
#include "platform/system/FileManager.h"
#include "playback/ChannelComposition.h"

#include <QProcess>
#include <QTemporaryDir>

#include <samplegen/SampleGen.h>

#include <string>

using namespace capturetest;

namespace {

constexpr int kFps = 30;
constexpr double kSeconds = 3.0;
constexpr int kFrames = 90;

struct Sample {
    const char* label;
    samplegen::Layout layout;
    samplegen::Codec codec;
    bool rotate;    // a copy whose display matrix turns the picture a quarter
    bool rewrap;    // an AVI played from its rewrap
    int stream = 0; // the video stream compared
};

class FrameGrab : public ::testing::TestWithParam<Sample> {
protected:
    static void SetUpTestSuite() { s_dir = std::make_unique<QTemporaryDir>(); }
    static void TearDownTestSuite() { s_dir.reset(); }

    // The file the sample plays, written on first use.
    static QString file(const Sample& sample) {
        const QString base = s_dir->filePath(QString::fromLatin1(sample.label));
        const bool avi = sample.layout == samplegen::Layout::Avi;
        const QString written = base + (avi ? QStringLiteral(".avi") : QStringLiteral(".mp4"));
        if (!QFile::exists(written)) {
            samplegen::RecordingOptions options;
            options.layout = sample.layout;
            options.codec = sample.codec;
            options.seconds = kSeconds;
            options.width = 320;
            options.height = 180;
            options.fps = kFps;
            options.videoStreams = avi ? 2 : 1;
            samplegen::writeRecording(written.toStdString(), options);
        }
        if (sample.rotate) {
            const QString turned = base + QStringLiteral("-turned.mp4");
            if (!QFile::exists(turned)) {
                QProcess ffmpeg;
                ffmpeg.start(QStringLiteral("ffmpeg"),
                             {QStringLiteral("-nostdin"), QStringLiteral("-v"), QStringLiteral("error"),
                              QStringLiteral("-i"), written, QStringLiteral("-map"), QStringLiteral("0:v"),
                              QStringLiteral("-c"), QStringLiteral("copy"), QStringLiteral("-metadata:s:v:0"),
                              QStringLiteral("rotate=90"), turned});
                EXPECT_TRUE(ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0);
            }
            return turned;
        }
        return written;
    }

    // The asset a channel player of this sample holds: the rewrap's composition of one
    // video stream for an AVI, the file otherwise.
    static std::shared_ptr<Asset> asset(const Sample& sample, QString& played) {
        const QString path = file(sample);
        if (!sample.rewrap) {
            played = path;
            return Asset::assetWithUrl(QUrl::fromLocalFile(path));
        }
        playbacktest::MediaEnvironmentGuard guard(s_dir->filePath(QStringLiteral("Movies")));
        const std::shared_ptr<Asset> movie = aviToMov(QUrl::fromLocalFile(path), false);
        EXPECT_TRUE(movie) << guard.alerts.join(QLatin1Char('\n')).toStdString();
        if (!movie)
            return nullptr;
        played = movie->url().toLocalFile();
        const auto video = movie->tracksWithMediaType(MediaType::Video);
        EXPECT_GT(video.size(), sample.stream);
        auto composition = MutableComposition::composition();
        composition->addMutableTrackWithMediaType(MediaType::Video)
            ->insertTimeRange(MediaTimeRange(MediaTime::zero(), movie->duration()),
                              video.value(sample.stream), MediaTime::zero());
        return composition;
    }

    static std::unique_ptr<QTemporaryDir> s_dir;
};

std::unique_ptr<QTemporaryDir> FrameGrab::s_dir;

// Just before frame k starts, ffmpeg's seek and the generator agree on frame k.
double justBefore(int k) {
    return k / static_cast<double>(kFps) - 0.0001;
}

TEST_P(FrameGrab, FrameAtTimeIsTheFrameFfmpegDecodesThere) {
    const Sample sample = GetParam();
    QString played;
    const std::shared_ptr<Asset> channel = asset(sample, played);
    ASSERT_TRUE(channel);
    AssetImageGenerator generator(channel);
    generator.appliesPreferredTrackTransform = true;

    const QImage zero = ffmpegFrame(played, 0.0, sample.stream);
    ASSERT_FALSE(zero.isNull());
    const QSize shown = sample.rotate ? QSize(180, 320) : QSize(320, 180);
    EXPECT_EQ(zero.size(), shown);

    // Frames around the key frames (every 30th), both ends, and one deep inside a group.
    for (const int k : {0, 1, 29, 30, 31, 44, 59, 60, kFrames - 1}) {
        SCOPED_TRACE("frame " + std::to_string(k));
        const QImage expected = ffmpegFrame(played, justBefore(k), sample.stream);
        ASSERT_FALSE(expected.isNull());
        MediaTime actual;
        QString error;
        const QImage grabbed =
            generator.copyCGImageAtTime(MediaTime::makeWithSeconds(justBefore(k), 1000000), &actual, &error);
        ASSERT_FALSE(grabbed.isNull()) << error.toStdString();
        EXPECT_EQ(grabbed.size(), shown);
        EXPECT_NEAR(actual.seconds(), k / static_cast<double>(kFps), 0.002);
        // The same decode and conversion: equal but for rounding.
        EXPECT_LT(meanDifference(grabbed, expected), 0.5);
        EXPECT_LT(differingShare(grabbed, expected, 8), 0.001);
        // Not merely close: the next frame differs in far more places.
        if (k + 1 < kFrames) {
            const QImage next = ffmpegFrame(played, justBefore(k + 1), sample.stream);
            EXPECT_GT(differingShare(grabbed, next, 8), 0.005);
        }
        // Half a frame later the same frame still shows (a paused player shows it until the next).
        const QImage midway = generator.copyCGImageAtTime(
            MediaTime::makeWithSeconds((k + 0.5) / static_cast<double>(kFps), 1000000), nullptr, &error);
        EXPECT_LT(differingShare(midway, expected, 8), 0.001);
    }

    // Past the end, and after going back to the start, the last and the first frames.
    const QImage last = ffmpegFrame(played, justBefore(kFrames - 1), sample.stream);
    EXPECT_LT(differingShare(generator.copyCGImageAtTime(MediaTime(10, 1)), last, 8), 0.001);
    EXPECT_LT(differingShare(generator.copyCGImageAtTime(MediaTime::zero()), zero, 8), 0.001);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, FrameGrab,
    ::testing::Values(
        Sample{"DataTrackH264", samplegen::Layout::DataTrack, samplegen::Codec::H264, false, false},
        Sample{"BoxesH264", samplegen::Layout::Boxes, samplegen::Codec::H264, false, false},
        Sample{"DataTrackHevc", samplegen::Layout::DataTrack, samplegen::Codec::Hevc, false, false},
        Sample{"AviRewrapFirst", samplegen::Layout::Avi, samplegen::Codec::H264, false, true, 0},
        Sample{"AviRewrapSecond", samplegen::Layout::Avi, samplegen::Codec::H264, false, true, 1},
        Sample{"TurnedQuarter", samplegen::Layout::DataTrack, samplegen::Codec::H264, true, false}),
    [](const ::testing::TestParamInfo<Sample>& param) { return std::string(param.param.label); });

// Files that hold no picture: a reason, no image, no crash.
TEST(FrameGrabFaults, UnreadableInputsGiveAReason) {
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("20241108-083000_F_N.mp4"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a recording");
    file.close();

    // A recording cut off after its first kilobytes: the header is gone with the rest.
    samplegen::RecordingOptions options;
    options.seconds = 2;
    options.width = 160;
    options.height = 90;
    const QString cut = dir.filePath(QStringLiteral("cut.mp4"));
    samplegen::writeRecording(cut.toStdString(), options);
    QFile::resize(cut, 4096);

    for (const QString& path : {text, cut, dir.filePath(QStringLiteral("missing.mp4"))}) {
        SCOPED_TRACE(path.toStdString());
        AssetImageGenerator generator(Asset::assetWithUrl(QUrl::fromLocalFile(path)));
        QString error;
        EXPECT_TRUE(generator.copyCGImageAtTime(MediaTime(1, 2), nullptr, &error).isNull());
        EXPECT_FALSE(error.isEmpty());
    }
    AssetImageGenerator none(nullptr);
    QString error;
    EXPECT_TRUE(none.copyCGImageAtTime(MediaTime::zero(), nullptr, &error).isNull());
    EXPECT_FALSE(error.isEmpty());
}

// A recording is grabbed from the file's own bytes, whatever its name; a file
// that has become a playlist since the asset read its tracks is not followed.
TEST(FrameGrabFaults, TheFileItselfAndNothingItNames) {
    QTemporaryDir dir;
    samplegen::RecordingOptions options;
    options.seconds = 1;
    options.width = 160;
    options.height = 96;
    // "백업" in EUC-KR: bytes that are no UTF-8.
    const QByteArray notUtf8 = QFile::encodeName(dir.path()) + "/20241108-091300_F_\xB9\xE9\xBE\xF7.mp4";
    const QString playlist = dir.filePath(QStringLiteral("20241108-091400_F_N.mp4"));
    const struct {
        const char* name;
        QByteArray path;
        bool becomesPlaylist;
    } cases[] = {
        {"a name that is not UTF-8", notUtf8, false},
        {"a playlist naming a pipe", QFile::encodeName(playlist), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        samplegen::writeRecording(c.path.toStdString(), options);
        const auto asset = Asset::assetWithUrl(FileManager::fileURLWithFileSystemRepresentation(c.path));
        ASSERT_EQ(asset->tracksWithMediaType(MediaType::Video).size(), 1);
        if (c.becomesPlaylist) {
            ASSERT_TRUE(playlisttest::writePlaylistRecording(playlist, playlisttest::Playlist::Hls,
                                                             QStringLiteral("seg.ts")));
        }
        playlisttest::FifoWatchdog watchdog(dir.filePath(QStringLiteral("seg.ts")));
        AssetImageGenerator generator(asset);
        QString error;
        const QImage frame = generator.copyCGImageAtTime(MediaTime(1, 2), nullptr, &error);
        EXPECT_EQ(frame.isNull(), c.becomesPlaylist) << error.toStdString();
        EXPECT_EQ(error.isEmpty(), !c.becomesPlaylist) << error.toStdString();
        EXPECT_FALSE(watchdog.released()) << "the grab waited at the pipe the playlist names";
        ::unlink(c.path.constData());
    }
}

} // namespace
