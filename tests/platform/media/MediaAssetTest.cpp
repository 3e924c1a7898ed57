#include "MediaTestFixtures.h"

#include "common/PlaylistRecording.h"

#include "platform/media/Asset.h"
#include "platform/media/MediaTime.h"
#include "platform/media/MutableComposition.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using mediatest::fixtures;

QUrl fileUrl(const QString& path) {
    return QUrl::fromLocalFile(path);
}

TEST(MediaTime, ArithmeticComparisonAndSeconds) {
    const MediaTime a(1500, 1000);
    const MediaTime b(3, 2);
    EXPECT_EQ(a, b); // equal by value across timescales
    EXPECT_DOUBLE_EQ(a.seconds(), 1.5);
    EXPECT_LT(MediaTime(1, 3), MediaTime(1, 2));
    EXPECT_EQ((a + MediaTime(1, 2)).seconds(), 2.0);
    EXPECT_EQ((a - MediaTime(2, 1)).seconds(), -0.5);
    EXPECT_EQ(MediaTime(7, 600) + MediaTime(1, 1000), MediaTime::makeWithSeconds(7.0 / 600 + 0.001, 3000));

    const MediaTime t = MediaTime::makeWithSeconds(12.3456, 1000);
    EXPECT_EQ(t.value(), 12346);
    EXPECT_EQ(t.timescale(), 1000);
    EXPECT_TRUE(t.flags() & MediaTime::HasBeenRounded);
    EXPECT_EQ(t.value() / t.timescale(), 12); // whole seconds as the time display takes them

    EXPECT_EQ(MediaTime::zero(), MediaTime(0, 90000));
    EXPECT_FALSE(MediaTime().isValid());
    EXPECT_FALSE(MediaTime(5, 0).isValid());
    EXPECT_TRUE(std::isnan(MediaTime::indefinite().seconds()));
    EXPECT_EQ(MediaTime::indefinite().timescale(), 0);
    EXPECT_LT(MediaTime::invalid(), MediaTime::negativeInfinity());
    EXPECT_LT(MediaTime(1000000, 1), MediaTime::positiveInfinity());
    EXPECT_TRUE(std::isinf(MediaTime::makeWithSeconds(INFINITY, 600).seconds()));
    EXPECT_FALSE(MediaTime::makeWithSeconds(NAN, 600).isValid());
    EXPECT_FALSE((MediaTime() + a).isValid());
    EXPECT_TRUE((MediaTime::indefinite() + a).isIndefinite());
    // An earlier epoch orders first whatever the values.
    EXPECT_LT(MediaTime(10, 1, 0), MediaTime(1, 1, 1));
    EXPECT_EQ(MediaTime(1, 3).convertScale(600).value(), 200);
}

TEST(MediaAsset, ProbesTracksOfAFile) {
    REQUIRE_MEDIA_FIXTURES();
    const auto asset = Asset::assetWithUrl(fileUrl(fixtures().videoWithSound));
    const auto tracks = asset->tracks();
    ASSERT_EQ(tracks.size(), 2) << asset->description().toStdString();
    EXPECT_EQ(tracks[0]->mediaType(), MediaType::Video);
    EXPECT_EQ(tracks[0]->streamIndex(), 0);
    EXPECT_EQ(tracks[0]->trackID(), 1);
    EXPECT_EQ(tracks[0]->naturalSize(), QSize(320, 180));
    EXPECT_EQ(tracks[0]->sourcePath(), QFileInfo(fixtures().videoWithSound).absoluteFilePath());
    EXPECT_EQ(tracks[1]->mediaType(), MediaType::Audio);
    EXPECT_EQ(tracks[1]->streamIndex(), 1);
    EXPECT_NEAR(tracks[0]->timeRange().duration.seconds(), 2.0, 0.05);
    EXPECT_NEAR(tracks[1]->timeRange().duration.seconds(), 2.0, 0.1);
    EXPECT_NEAR(asset->duration().seconds(), 2.0, 0.1);
    EXPECT_GT(asset->duration().timescale(), 0);
    EXPECT_TRUE(asset->errorString().isEmpty());

    const auto two = Asset::assetWithUrl(fileUrl(fixtures().twoVideos));
    const auto videos = two->tracksWithMediaType(MediaType::Video);
    ASSERT_EQ(videos.size(), 2);
    EXPECT_EQ(videos[1]->streamIndex(), 1);
    EXPECT_EQ(videos[1]->typeOrdinal(), 1);
    ASSERT_EQ(two->tracksWithMediaType(MediaType::Audio).size(), 1);
    EXPECT_EQ(two->tracksWithMediaType(MediaType::Audio)[0]->streamIndex(), 2);

    const auto sound = Asset::assetWithUrl(fileUrl(fixtures().soundOnly));
    EXPECT_TRUE(sound->tracksWithMediaType(MediaType::Video).isEmpty());
    ASSERT_EQ(sound->tracksWithMediaType(MediaType::Audio).size(), 1);
    EXPECT_NEAR(sound->duration().seconds(), 3.0, 0.1);
}

TEST(MediaAsset, UnreadableSourcesGiveNoTracks) {
    REQUIRE_MEDIA_FIXTURES();
    for (const QUrl& url : {fileUrl(fixtures().missing), fileUrl(fixtures().notMedia),
                            QUrl("https://example.com/a.mp4"), QUrl(), fileUrl(QDir::tempPath())}) {
        const auto asset = Asset::assetWithUrl(url);
        EXPECT_TRUE(asset->tracks().isEmpty()) << url.toString().toStdString();
        EXPECT_EQ(asset->duration(), MediaTime::zero());
        EXPECT_FALSE(asset->errorString().isEmpty());
        EXPECT_EQ(asset->playbackVideoTrack(), nullptr);
    }
}

TEST(MediaAsset, APlaylistNamingAPipeIsNoRecording) {
    QTemporaryDir dir;
    for (const auto kind : {playlisttest::Playlist::Hls, playlisttest::Playlist::Concat}) {
        SCOPED_TRACE(int(kind));
        const QString file = dir.filePath(QStringLiteral("20241108-091300_F_N.mp4"));
        ASSERT_TRUE(playlisttest::writePlaylistRecording(file, kind, QStringLiteral("seg.ts")));
        playlisttest::FifoWatchdog watchdog(dir.filePath(QStringLiteral("seg.ts")));
        const auto asset = Asset::assetWithUrl(fileUrl(file));
        EXPECT_TRUE(asset->tracks().isEmpty());
        EXPECT_FALSE(asset->errorString().isEmpty());
        EXPECT_FALSE(watchdog.released()) << "the probe waited at the pipe the playlist names";
    }
}

TEST(MediaComposition, JoinsVideoOfOneFileWithSoundOfAnother) {
    REQUIRE_MEDIA_FIXTURES();
    const auto front = Asset::assetWithUrl(fileUrl(fixtures().twoVideos));
    const auto sound = Asset::assetWithUrl(fileUrl(fixtures().soundOnly));
    auto composition = MutableComposition::composition();
    EXPECT_EQ(composition->duration(), MediaTime::zero());

    auto video = composition->addMutableTrackWithMediaType(MediaType::Video, 0);
    auto audio = composition->addMutableTrackWithMediaType(MediaType::Audio, 0);
    EXPECT_EQ(video->trackID(), 1);
    EXPECT_EQ(audio->trackID(), 2);
    QString error;
    const auto rear = front->tracksWithMediaType(MediaType::Video)[1];
    ASSERT_TRUE(
        video->insertTimeRange({MediaTime::zero(), front->duration()}, rear, MediaTime::zero(), &error))
        << error.toStdString();
    ASSERT_TRUE(audio->insertTimeRange({MediaTime::zero(), sound->duration()},
                                       sound->tracksWithMediaType(MediaType::Audio)[0], MediaTime::zero(),
                                       &error));
    EXPECT_TRUE(composition->isComposition());
    EXPECT_EQ(composition->tracks().size(), 2);
    EXPECT_EQ(composition->playbackVideoTrack()->sourcePath(), rear->sourcePath());
    EXPECT_EQ(composition->playbackVideoTrack()->streamIndex(), 1);
    EXPECT_EQ(composition->playbackAudioTrack()->sourcePath(),
              QFileInfo(fixtures().soundOnly).absoluteFilePath());
    EXPECT_NEAR(composition->duration().seconds(), 3.0, 0.1); // the longest track

    // A composition's tracks feed another composition like file tracks do.
    auto nested = MutableComposition::composition();
    auto nestedVideo = nested->addMutableTrackWithMediaType(MediaType::Video, 0);
    EXPECT_TRUE(nestedVideo->insertTimeRange({MediaTime::zero(), MediaTime(10, 1)}, composition->tracks()[0],
                                             MediaTime::zero(), &error));
    EXPECT_EQ(nestedVideo->streamIndex(), 1);
    // A range longer than the source is shortened to it.
    EXPECT_NEAR(nested->duration().seconds(), rear->timeRange().duration.seconds(), 1e-6);
}

TEST(MediaComposition, RefusesInsertionsItCannotPlay) {
    REQUIRE_MEDIA_FIXTURES();
    const auto asset = Asset::assetWithUrl(fileUrl(fixtures().videoWithSound));
    const auto videoTrack = asset->tracksWithMediaType(MediaType::Video)[0];
    const auto audioTrack = asset->tracksWithMediaType(MediaType::Audio)[0];
    const MediaTimeRange whole(MediaTime::zero(), asset->duration());
    auto composition = MutableComposition::composition();
    auto video = composition->addMutableTrackWithMediaType(MediaType::Video, 5);
    EXPECT_EQ(video->trackID(), 5);
    EXPECT_EQ(composition->addMutableTrackWithMediaType(MediaType::Audio, 5)->trackID(), 1);
    auto empty = composition->addMutableTrackWithMediaType(MediaType::Video);

    QString error;
    EXPECT_FALSE(video->insertTimeRange(whole, audioTrack, MediaTime::zero(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(video->insertTimeRange(whole, nullptr, MediaTime::zero(), &error));
    EXPECT_FALSE(video->insertTimeRange(whole, empty, MediaTime::zero(), &error));
    EXPECT_FALSE(
        video->insertTimeRange({MediaTime(1, 1), MediaTime(1, 1)}, videoTrack, MediaTime::zero(), &error));
    EXPECT_FALSE(video->insertTimeRange(whole, videoTrack, MediaTime(1, 1), &error));
    EXPECT_FALSE(
        video->insertTimeRange({MediaTime::zero(), MediaTime::invalid()}, videoTrack, MediaTime::zero()));
    EXPECT_FALSE(
        video->insertTimeRange({MediaTime::zero(), MediaTime::zero()}, videoTrack, MediaTime::zero()));
    EXPECT_TRUE(video->insertTimeRange(whole, videoTrack, MediaTime::zero(), &error));
    EXPECT_FALSE(video->insertTimeRange(whole, videoTrack, MediaTime::zero(), &error));
    EXPECT_FALSE(composition->description().isEmpty());
    composition->removeTrack(empty);
    EXPECT_EQ(composition->tracks().size(), 2);
}

} // namespace
