// Players and assets kept from one screen for the next (a full-screen round trip).

#include "common/PlaybackTestFixtures.h"

#include "platform/media/Asset.h"
#include "platform/media/PlayerItem.h"
#include "platform/media/PlayerView.h"
#include "platform/media/SoftwarePlayerView.h"
#include "playback/PlayerPool.h"
#include "playback/RecordingPlayback.h"

#include <QDateTime>
#include <QFile>
#include <QPointer>

#include <algorithm>
#include <vector>

namespace {

using playbacktest::files;
using playbacktest::waitFor;

std::shared_ptr<PlayerItem> itemFor(const QString& path) {
    return PlayerItem::playerItemWithAsset(Asset::assetWithUrl(QUrl::fromLocalFile(path)));
}

// The player plays on from where it is, with a picture in `view`.
bool playsOn(Player* player, PlayerView& view) {
    const double from = player->currentSeconds();
    return waitFor([&] {
        auto* software = dynamic_cast<SoftwarePlayerView*>(view.surface());
        const QImage image = software ? software->currentImage() : QImage();
        return player->currentSeconds() > from + 0.3 && !image.isNull() &&
               qGray(image.pixel(image.width() / 2, image.height() / 2)) > 24;
    });
}

TEST(PlayerPool, APlayerGivenBackReturnsEmptiedToTheNextScreen) {
    while (PlayerPool::idleCount() > 0) // left by earlier tests
        delete PlayerPool::take(nullptr);
    QObject firstScreen, secondScreen;
    PlayerView first, second;
    Player* player = PlayerPool::take(&firstScreen);
    first.setPlayer(player);
    player->replaceCurrentItemWithPlayerItem(itemFor(files().front));
    player->setVolume(0.3f);
    player->setRate(1.5);
    int heard = 0;
    QObject::connect(player, &Player::rateChanged, [&] { ++heard; });
    ASSERT_TRUE(playsOn(player, first));

    PlayerPool::giveBack(player);
    EXPECT_EQ(first.player(), nullptr);
    EXPECT_EQ(player->currentItem(), nullptr);
    EXPECT_EQ(player->volume(), 1.0f);
    ASSERT_EQ(PlayerPool::take(&secondScreen), player);
    EXPECT_EQ(player->parent(), &secondScreen);
    second.setPlayer(player);
    player->replaceCurrentItemWithPlayerItem(itemFor(files().rear));
    const int heardBefore = heard;
    player->play();
    EXPECT_EQ(player->rate(), 1.0);
    EXPECT_TRUE(playsOn(player, second));
    EXPECT_EQ(heard, heardBefore); // its first screen's listeners hear no more

    // Only so many wait; the others are deleted.
    std::vector<QPointer<Player>> many;
    for (int i = 0; i < PlayerPool::kMaxIdle + 2; ++i)
        many.emplace_back(PlayerPool::take(nullptr));
    for (const QPointer<Player>& kept : many)
        PlayerPool::giveBack(kept);
    EXPECT_EQ(PlayerPool::idleCount(), PlayerPool::kMaxIdle);
    EXPECT_EQ(std::count(many.begin(), many.end(), nullptr), 2);
}

// Without sound libmpv's video output is all a player plays: each view taking it over in turn
// must leave it playing.
TEST(PlayerPool, ASilentRecordingPlaysOnAsViewsTakeItOver) {
    QObject screen;
    Player* player = PlayerPool::take(&screen);
    player->replaceCurrentItemWithPlayerItem(itemFor(files().rear));
    player->play();
    for (int turn = 0; turn < 4; ++turn) {
        PlayerView view;
        view.setPlayer(player);
        EXPECT_TRUE(playsOn(player, view)) << "turn " << turn << " at " << player->currentSeconds();
    }
    PlayerPool::giveBack(player);
}

TEST(RecordingPlaybackAsset, TheSameRecordingKeepsItsAssetUntilAFileChanges) {
    QTemporaryDir dir;
    const auto copy = [&](const QString& from) {
        const QString to = dir.filePath(QFileInfo(from).fileName());
        QFile::copy(from, to);
        return to;
    };
    const orvoTableModel entry =
        playbacktest::entry(copy(files().front), copy(files().rear), copy(files().inside));
    const QList<orvoTableModel> savedList = recordingList;
    recordingList = {entry};
    RecordingPlayback window, fullScreen;
    const std::shared_ptr<Asset> made = window.assetForEntry(entry);
    ASSERT_TRUE(made);
    EXPECT_EQ(fullScreen.assetForEntry(entry), made);

    QFile inside(entry.row.merge2->toLocalFile());
    ASSERT_TRUE(inside.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        inside.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    inside.close();
    const std::shared_ptr<Asset> remade = fullScreen.assetForEntry(entry);
    EXPECT_NE(remade, made);
    EXPECT_EQ(remade->tracksWithMediaType(MediaType::Video).size(), 3);
    recordingList = savedList;
}

} // namespace
