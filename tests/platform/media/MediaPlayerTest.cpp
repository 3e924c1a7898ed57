#include "MediaTestFixtures.h"

#include "common/PlaylistRecording.h"

#include "platform/media/Asset.h"
#include "platform/media/MutableComposition.h"
#include "platform/media/Player.h"
#include "platform/media/PlayerItem.h"
#include "platform/system/FileManager.h"
#include "platform/system/NotificationCenter.h"

#include <mpv/client.h>

#include <gtest/gtest.h>

#include <cstdio>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <chrono>
#include <cmath>
#include <memory>

namespace {

using mediatest::fixtures;
using mediatest::spin;
using mediatest::waitFor;

constexpr double kFrame = 1.0 / 30;

QString mpvString(Player& player, const char* name) {
    char* value = mpv_get_property_string(player.mpvHandle(), name);
    const QString text = value ? QString::fromUtf8(value) : QString();
    mpv_free(value);
    return text;
}

double mpvDouble(Player& player, const char* name) {
    double value = NAN;
    mpv_get_property(player.mpvHandle(), name, MPV_FORMAT_DOUBLE, &value);
    return value;
}

// The selected track of a type in libmpv's track list.
QJsonObject selectedTrack(Player& player, const QString& type) {
    const auto tracks = QJsonDocument::fromJson(mpvString(player, "track-list").toUtf8()).array();
    for (const auto& value : tracks) {
        const QJsonObject track = value.toObject();
        if (track["type"].toString() == type && track["selected"].toBool())
            return track;
    }
    return {};
}

std::shared_ptr<PlayerItem> itemFor(const QString& path) {
    return PlayerItem::playerItemWithAsset(Asset::assetWithUrl(QUrl::fromLocalFile(path)));
}

bool ready(const std::shared_ptr<PlayerItem>& item) {
    return waitFor([&] { return item->status() != PlayerItem::Status::Unknown; }) &&
           item->status() == PlayerItem::Status::ReadyToPlay;
}

TEST(MediaPlayer, CompositionPlaysVideoOfOneFileWithSoundOfAnother) {
    REQUIRE_MEDIA_FIXTURES();
    const auto channels = Asset::assetWithUrl(QUrl::fromLocalFile(fixtures().twoVideos));
    const auto sound = Asset::assetWithUrl(QUrl::fromLocalFile(fixtures().soundOnly));
    auto composition = MutableComposition::composition();
    composition->addMutableTrackWithMediaType(MediaType::Video)
        ->insertTimeRange({MediaTime::zero(), channels->duration()},
                          channels->tracksWithMediaType(MediaType::Video)[1], MediaTime::zero());
    composition->addMutableTrackWithMediaType(MediaType::Audio)
        ->insertTimeRange({MediaTime::zero(), sound->duration()},
                          sound->tracksWithMediaType(MediaType::Audio)[0], MediaTime::zero());

    Player player;
    ASSERT_TRUE(player.isValid());
    auto item = PlayerItem::playerItemWithAsset(composition);
    player.replaceCurrentItemWithPlayerItem(item);
    ASSERT_TRUE(ready(item)) << item->errorString().toStdString();
    player.play();
    ASSERT_TRUE(waitFor([&] { return player.currentSeconds() > 0.2; }));

    ASSERT_TRUE(waitFor([&] { return !selectedTrack(player, "audio").isEmpty(); }));
    const QJsonObject audio = selectedTrack(player, "audio");
    EXPECT_TRUE(audio["external"].toBool());
    EXPECT_EQ(QFileInfo(audio["external-filename"].toString()).fileName(), QString("sound: rear 1.m4a"));
    const QJsonObject video = selectedTrack(player, "video");
    EXPECT_EQ(video["ff-index"].toInt(), 1); // the second channel of the file
    EXPECT_EQ(QFileInfo(mpvString(player, "path")).fileName(), QString("two channels.mp4"));
    EXPECT_NEAR(item->duration().seconds(), 3.0, 0.1);
}

TEST(MediaPlayer, PlayPauseRateAndTimeControlStatus) {
    REQUIRE_MEDIA_FIXTURES();
    Player player;
    EXPECT_EQ(player.timeControlStatus(), Player::TimeControlStatus::Paused);
    EXPECT_EQ(player.rate(), 0.0);
    auto item = itemFor(fixtures().videoWithSound);
    EXPECT_TRUE(item->duration().isIndefinite());
    player.replaceCurrentItemWithPlayerItem(item);
    EXPECT_EQ(item->player(), &player);
    ASSERT_TRUE(ready(item));
    EXPECT_NEAR(item->duration().seconds(), 2.0, 0.1);
    EXPECT_GT(item->duration().timescale(), 0);
    EXPECT_EQ(player.currentTime(), MediaTime::zero());

    int statusChanges = 0;
    QObject::connect(&player, &Player::timeControlStatusChanged, [&] { ++statusChanges; });
    player.play();
    EXPECT_EQ(player.rate(), 1.0);
    EXPECT_TRUE(waitFor([&] { return player.timeControlStatus() == Player::TimeControlStatus::Playing; }));
    EXPECT_GE(statusChanges, 1);
    EXPECT_TRUE(waitFor([&] { return player.currentTime().seconds() > 0.1; }));
    EXPECT_GT(player.currentTime().timescale(), 0);

    player.setRate(1.5);
    EXPECT_EQ(player.rate(), 1.5);
    EXPECT_TRUE(waitFor([&] { return std::abs(mpvDouble(player, "speed") - 1.5) < 1e-9; }));
    player.pause();
    EXPECT_EQ(player.rate(), 0.0);
    EXPECT_EQ(player.timeControlStatus(), Player::TimeControlStatus::Paused);
    EXPECT_TRUE(waitFor([&] { return mpvString(player, "pause") == "yes"; }));
    player.playImmediatelyAtRate(0.5);
    EXPECT_EQ(player.rate(), 0.5);
    EXPECT_TRUE(waitFor([&] { return mpvString(player, "pause") == "no"; }));
    player.setRate(0);
    EXPECT_EQ(player.timeControlStatus(), Player::TimeControlStatus::Paused);
    player.setRate(1000);
    EXPECT_EQ(player.rate(), 100.0);
    player.pause();
}

TEST(MediaPlayer, APositionIsTimedWhenLibmpvSignalledIt) {
    REQUIRE_MEDIA_FIXTURES();
    const auto steadyNs = [] {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
    Player player;
    auto item = itemFor(fixtures().videoWithSound);
    player.replaceCurrentItemWithPlayerItem(item);
    ASSERT_TRUE(ready(item));
    const qint64 started = steadyNs();
    player.play();
    ASSERT_TRUE(waitFor([&] { return player.currentSeconds() > 0.3; }));
    // Positions libmpv told of carry the time it signalled them, no later than they are read.
    for (int i = 0; i < 3; ++i) {
        const double seen = player.currentSeconds();
        const qint64 signalled = player.currentSecondsSignalledNs();
        EXPECT_GE(signalled, started);
        EXPECT_LE(signalled, steadyNs());
        ASSERT_TRUE(waitFor([&] { return player.currentSeconds() != seen; }));
        EXPECT_GE(player.currentSecondsSignalledNs(), signalled) << "in order";
    }
    // A position set here (a seek on its way) has no such time.
    player.pause();
    player.seekToTime(MediaTime(1, 4));
    EXPECT_EQ(player.currentSecondsSignalledNs(), 0);
}

TEST(MediaPlayer, ExactSeeksLandOnTheRequestedTime) {
    REQUIRE_MEDIA_FIXTURES();
    Player player;
    auto item = itemFor(fixtures().videoWithSound);
    player.replaceCurrentItemWithPlayerItem(item);
    // A seek asked for before the item is open waits for it.
    int early = -1;
    player.seekToTime(MediaTime(1200, 1000), [&](bool finished) { early = finished; });
    EXPECT_NEAR(player.currentTime().seconds(), 1.2, 1e-6);
    ASSERT_TRUE(waitFor([&] { return early != -1; }));
    EXPECT_EQ(early, 1);
    EXPECT_NEAR(mpvDouble(player, "time-pos"), 1.2, kFrame);

    for (double target : {0.5, 1.7333, 0.0, 1.0}) {
        int finished = -1;
        player.seekToTime(MediaTime::makeWithSeconds(target, 1000), [&](bool f) { finished = f; });
        ASSERT_TRUE(waitFor([&] { return finished != -1; })) << target;
        EXPECT_EQ(finished, 1);
        EXPECT_NEAR(player.currentTime().seconds(), target, kFrame) << target;
        EXPECT_NEAR(mpvDouble(player, "time-pos"), target, kFrame) << target;
    }
    // A later seek replaces an earlier one, whose completion says so.
    int first = -1, second = -1;
    player.seekToTime(MediaTime(1, 2), [&](bool f) { first = f; });
    player.seekToTime(MediaTime(3, 2), [&](bool f) { second = f; });
    EXPECT_EQ(first, 0);
    ASSERT_TRUE(waitFor([&] { return second != -1; }));
    EXPECT_EQ(second, 1);
    EXPECT_NEAR(player.currentTime().seconds(), 1.5, kFrame);
    // Times before the start land on the start.
    int negative = -1;
    player.seekToTime(MediaTime(-10, 1), [&](bool f) { negative = f; });
    ASSERT_TRUE(waitFor([&] { return negative != -1; }));
    EXPECT_EQ(player.currentTime(), MediaTime::zero());
    // Nothing to seek in.
    Player empty;
    int none = -1;
    empty.seekToTime(MediaTime(1, 1), [&](bool f) { none = f; });
    EXPECT_EQ(none, 0);
}

TEST(MediaPlayer, EndOfItemPausesOnTheLastFrameAndNotifiesOnce) {
    REQUIRE_MEDIA_FIXTURES();
    Player player;
    auto item = itemFor(fixtures().videoWithSound);
    player.replaceCurrentItemWithPlayerItem(item);
    int emitted = 0, notifications = 0;
    QObject::connect(item.get(), &PlayerItem::didPlayToEndTime, [&] { ++emitted; });
    QObject observer;
    NotificationCenter::defaultCenter().addObserver(&observer, PlayerItem::DidPlayToEndTimeNotification,
                                                    item.get(), [&](const Notification& n) {
                                                        EXPECT_EQ(n.object, item.get());
                                                        ++notifications;
                                                    });
    ASSERT_TRUE(ready(item));
    bool sought = false;
    player.seekToTime(MediaTime(1500, 1000), [&](bool) { sought = true; });
    ASSERT_TRUE(waitFor([&] { return sought; }));
    player.play();
    ASSERT_TRUE(waitFor([&] { return notifications == 1; }));
    EXPECT_EQ(emitted, 1);
    EXPECT_EQ(player.rate(), 0.0);
    EXPECT_EQ(player.timeControlStatus(), Player::TimeControlStatus::Paused);
    EXPECT_EQ(player.currentTime().seconds(), item->duration().seconds());
    spin(400);
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(mpvString(player, "idle-active"), "no"); // the file stays open on its last frame

    // Played again from earlier, it ends (and notifies) again.
    sought = false;
    player.seekToTime(MediaTime(1700, 1000), [&](bool) { sought = true; });
    ASSERT_TRUE(waitFor([&] { return sought; }));
    player.play();
    ASSERT_TRUE(waitFor([&] { return notifications == 2; }));
}

TEST(MediaPlayer, VolumeFollowsTheCubicCurveAndMuteIsSeparate) {
    REQUIRE_MEDIA_FIXTURES();
    EXPECT_DOUBLE_EQ(Player::mpvVolumeForVolume(1.0f), 100.0);
    EXPECT_NEAR(Player::mpvVolumeForVolume(0.125f), 50.0, 1e-9);
    EXPECT_NEAR(Player::mpvVolumeForVolume(0.5f), 79.37, 0.01);
    EXPECT_EQ(Player::mpvVolumeForVolume(0.0f), 0.0);
    EXPECT_EQ(Player::mpvVolumeForVolume(-1.0f), 0.0);
    EXPECT_EQ(Player::mpvVolumeForVolume(NAN), 0.0);

    Player player;
    player.setVolume(0.125f);
    EXPECT_FLOAT_EQ(player.volume(), 0.125f);
    EXPECT_TRUE(waitFor([&] { return std::abs(mpvDouble(player, "volume") - 50.0) < 1e-6; }));
    player.setVolume(7.0f);
    EXPECT_FLOAT_EQ(player.volume(), 1.0f);
    EXPECT_TRUE(waitFor([&] { return std::abs(mpvDouble(player, "volume") - 100.0) < 1e-6; }));
    player.setMuted(true);
    EXPECT_TRUE(player.isMuted());
    EXPECT_TRUE(waitFor([&] { return mpvString(player, "mute") == "yes"; }));
    EXPECT_TRUE(waitFor([&] { return std::abs(mpvDouble(player, "volume") - 100.0) < 1e-6; }));
    player.setMuted(false);
    EXPECT_TRUE(waitFor([&] { return mpvString(player, "mute") == "no"; }));
}

TEST(MediaPlayer, UnplayableItemsFailWithoutHarm) {
    REQUIRE_MEDIA_FIXTURES();
    Player player;
    for (const QString& path : {fixtures().missing, fixtures().notMedia}) {
        auto item = itemFor(path);
        player.replaceCurrentItemWithPlayerItem(item);
        EXPECT_EQ(item->status(), PlayerItem::Status::Failed) << path.toStdString();
        EXPECT_FALSE(item->errorString().isEmpty());
        EXPECT_TRUE(item->duration().isIndefinite());
        int finished = -1;
        player.seekToTime(MediaTime(1, 1), [&](bool f) { finished = f; });
        EXPECT_EQ(finished, 0);
        player.play();
        EXPECT_EQ(player.currentTime(), MediaTime::zero());
    }
    // An empty composition has nothing to play either; a good item afterwards plays.
    auto empty = PlayerItem::playerItemWithAsset(MutableComposition::composition());
    player.replaceCurrentItemWithPlayerItem(empty);
    EXPECT_EQ(empty->status(), PlayerItem::Status::Failed);
    auto good = itemFor(fixtures().soundOnly);
    player.replaceCurrentItemWithPlayerItem(good);
    ASSERT_TRUE(ready(good));
    EXPECT_TRUE(waitFor([&] { return player.currentSeconds() > 0.1; }));
    player.replaceCurrentItemWithPlayerItem(nullptr);
    EXPECT_EQ(good->player(), nullptr);
    EXPECT_EQ(player.currentTime(), MediaTime::zero());
}

// A recording that has become a playlist since its tracks were read (the card
// changed under the player): libmpv is not led by it to the pipe it names.
TEST(MediaPlayer, AFileThatBecameAPlaylistFailsWithoutOpeningWhatItNames) {
    REQUIRE_MEDIA_FIXTURES();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("20241108-091300_F_N.mp4"));
    for (const auto kind : {playlisttest::Playlist::Hls, playlisttest::Playlist::Concat}) {
        SCOPED_TRACE(int(kind));
        QFile::remove(file);
        ASSERT_TRUE(QFile::copy(fixtures().videoWithSound, file));
        auto item = itemFor(file);
        ASSERT_EQ(item->asset()->tracks().size(), 2);
        ASSERT_TRUE(playlisttest::writePlaylistRecording(file, kind, QStringLiteral("seg.ts")));
        playlisttest::FifoWatchdog watchdog(dir.filePath(QStringLiteral("seg.ts")));
        {
            Player player;
            player.replaceCurrentItemWithPlayerItem(item);
            player.play();
            EXPECT_TRUE(waitFor([&] { return item->status() == PlayerItem::Status::Failed; }))
                << int(item->status());
        }
        EXPECT_FALSE(watchdog.released()) << "libmpv waited at the pipe the playlist names";
    }
}

TEST(MediaPlayer, AnItemMovesBetweenPlayers) {
    REQUIRE_MEDIA_FIXTURES();
    auto item = itemFor(fixtures().videoWithSound);
    auto first = std::make_unique<Player>(item);
    Player second;
    second.replaceCurrentItemWithPlayerItem(item);
    EXPECT_EQ(first->currentItem(), nullptr);
    EXPECT_EQ(item->player(), &second);
    first.reset();
    ASSERT_TRUE(ready(item));
}

TEST(MediaPlayer, FourPlayersRunInOneProcess) {
    REQUIRE_MEDIA_FIXTURES();
    std::vector<std::unique_ptr<Player>> players;
    const auto channels = Asset::assetWithUrl(QUrl::fromLocalFile(fixtures().twoVideos));
    for (int i = 0; i < 4; ++i) {
        auto composition = MutableComposition::composition();
        composition->addMutableTrackWithMediaType(MediaType::Video)
            ->insertTimeRange({MediaTime::zero(), channels->duration()},
                              channels->tracksWithMediaType(MediaType::Video)[i % 2], MediaTime::zero());
        if (i == 0)
            composition->addMutableTrackWithMediaType(MediaType::Audio)
                ->insertTimeRange({MediaTime::zero(), channels->duration()},
                                  channels->tracksWithMediaType(MediaType::Audio)[0], MediaTime::zero());
        players.push_back(std::make_unique<Player>(PlayerItem::playerItemWithAsset(composition)));
        players.back()->setMuted(i != 0);
    }
    for (auto& player : players) {
        ASSERT_TRUE(ready(player->currentItem()));
        // Each scales its pictures on its own render thread, not over a pool shared by all.
        EXPECT_EQ(mpvString(*player, "zimg-threads"), "1");
    }
    for (auto& player : players)
        player->play();
    EXPECT_TRUE(waitFor([&] {
        for (auto& player : players)
            if (player->currentSeconds() < 0.5)
                return false;
        return true;
    }));
    // Torn down while playing, in an unusual order.
    players[2].reset();
    players[0].reset();
    players.clear();
}

} // namespace

// A recording whose name is not UTF-8 has its tracks read and plays.
TEST(MediaPlayer, ARecordingNamedInAnotherEncodingPlays) {
    REQUIRE_MEDIA_FIXTURES();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray name = QFile::encodeName(dir.path()) + "/\xc0\xcc\xba\xa5\xc6\xae_F_N.mp4";
    QFile source(mediatest::fixtures().videoWithSound);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    std::FILE* copy = std::fopen(name.constData(), "wb");
    ASSERT_TRUE(copy);
    EXPECT_EQ(std::fwrite(bytes.constData(), 1, size_t(bytes.size()), copy), size_t(bytes.size()));
    std::fclose(copy);
    const QUrl url = FileManager::contentsOfDirectory(QUrl::fromLocalFile(dir.path()))->front();

    const auto asset = Asset::assetWithUrl(url);
    EXPECT_EQ(asset->tracksWithMediaType(MediaType::Video).size(), 1);
    EXPECT_EQ(asset->tracksWithMediaType(MediaType::Audio).size(), 1);
    Player player;
    ASSERT_TRUE(player.isValid());
    auto item = PlayerItem::playerItemWithAsset(asset);
    player.replaceCurrentItemWithPlayerItem(item);
    ASSERT_TRUE(mediatest::waitFor([&] { return item->status() != PlayerItem::Status::Unknown; }));
    ASSERT_EQ(item->status(), PlayerItem::Status::ReadyToPlay) << item->errorString().toStdString();
    player.play();
    EXPECT_TRUE(mediatest::waitFor([&] { return player.currentSeconds() > 0.2; }));
    player.replaceCurrentItemWithPlayerItem(nullptr);
}
