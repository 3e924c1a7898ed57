// Players and assets kept from one screen for the next (a full-screen round trip).

#include "PlaybackTestFixtures.h"

#include "platform/Asset.h"
#include "platform/PlayerItem.h"
#include "platform/PlayerView.h"
#include "platform/SoftwarePlayerView.h"
#include "player/PlayerPool.h"
#include "player/RecordingPlayback.h"

#include <QDateTime>
#include <QFile>
#include <QPointer>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

using playbacktest::files;
using playbacktest::waitFor;

std::shared_ptr<PlayerItem> itemFor(const QString& path) {
    return PlayerItem::playerItemWithAsset(Asset::assetWithUrl(QUrl::fromLocalFile(path)));
}

bool showsPicture(PlayerView& view) {
    auto* software = dynamic_cast<SoftwarePlayerView*>(view.surface());
    const QImage image = software ? software->currentImage() : QImage();
    return !image.isNull() && qGray(image.pixel(image.width() / 2, image.height() / 2)) > 24;
}

TEST(PlayerPool, APlayerGivenBackReturnsEmptiedAndPlaysInTheNextView) {
    // Players earlier tests left waiting go first.
    while (PlayerPool::idleCount() > 0)
        delete PlayerPool::take(nullptr);
    QObject firstScreen;
    PlayerView first;
    first.resize(160, 90);
    Player* player = PlayerPool::take(&firstScreen);
    first.setPlayer(player);
    player->replaceCurrentItemWithPlayerItem(itemFor(files().front));
    player->setVolume(0.3f);
    player->setMuted(true);
    player->setRate(1.5);
    int heard = 0;
    QObject::connect(player, &Player::rateChanged, [&] { ++heard; });
    ASSERT_TRUE(waitFor([&] { return player->currentSeconds() > 0.3; }));

    PlayerPool::giveBack(player);
    EXPECT_EQ(first.player(), nullptr);
    EXPECT_EQ(PlayerView::showing(player), nullptr);
    EXPECT_EQ(player->currentItem(), nullptr);
    EXPECT_EQ(player->rate(), 0.0);
    EXPECT_EQ(player->volume(), 1.0f);
    EXPECT_FALSE(player->isMuted());
    EXPECT_EQ(PlayerPool::idleCount(), 1);

    // The next screen gets the same player; its earlier listeners hear nothing more.
    QObject secondScreen;
    PlayerView second;
    second.resize(160, 90);
    ASSERT_EQ(PlayerPool::take(&secondScreen), player);
    EXPECT_EQ(player->parent(), &secondScreen);
    EXPECT_EQ(PlayerPool::idleCount(), 0);
    second.setPlayer(player);
    player->replaceCurrentItemWithPlayerItem(itemFor(files().rear));
    const int heardBefore = heard;
    player->play();
    EXPECT_EQ(player->rate(), 1.0);
    EXPECT_TRUE(waitFor([&] { return player->currentSeconds() > 0.3 && showsPicture(second); }));
    EXPECT_EQ(heard, heardBefore);

    // Only so many wait; the others are deleted.
    std::vector<QPointer<Player>> many;
    for (int i = 0; i < PlayerPool::kMaxIdle + 2; ++i)
        many.emplace_back(PlayerPool::take(nullptr));
    for (const QPointer<Player>& kept : many)
        PlayerPool::giveBack(kept);
    EXPECT_EQ(PlayerPool::idleCount(), PlayerPool::kMaxIdle);
    EXPECT_EQ(std::count(many.begin(), many.end(), nullptr), 2);
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
    EXPECT_EQ(made->tracksWithMediaType(MediaType::Video).size(), 3);
    EXPECT_EQ(fullScreen.assetForEntry(entry), made);
    // The front file alone is another asset.
    EXPECT_NE(fullScreen.assetForEntry(entry, false), made);

    // A channel file written since: its asset is made again.
    const std::shared_ptr<Asset> again = window.assetForEntry(entry);
    QFile inside(entry.row.merge2->toLocalFile());
    ASSERT_TRUE(inside.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        inside.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    inside.close();
    const std::shared_ptr<Asset> remade = fullScreen.assetForEntry(entry);
    ASSERT_TRUE(remade);
    EXPECT_NE(remade, again);
    EXPECT_EQ(window.assetForEntry(entry), remade);
    recordingList = savedList;
}

} // namespace

namespace {

// Views taking turns with a playing recording without sound (libmpv's video output is all it
// plays): each hand-over keeps it playing, from where it was.
TEST(PlayerPool, ASilentRecordingPlaysOnAsViewsTakeItOver) {
    QObject screen;
    Player* player = PlayerPool::take(&screen);
    player->replaceCurrentItemWithPlayerItem(itemFor(files().rear));
    player->play();
    for (int turn = 0; turn < 4; ++turn) {
        SCOPED_TRACE(turn);
        PlayerView view;
        view.resize(160, 90);
        view.setPlayer(player);
        const double before = player->currentSeconds();
        EXPECT_TRUE(waitFor([&] { return player->currentSeconds() > before + 0.3 && showsPicture(view); }))
            << "at " << player->currentSeconds() << " s";
        EXPECT_EQ(player->currentItem()->status(), PlayerItem::Status::ReadyToPlay);
    }
    PlayerPool::giveBack(player);
}

} // namespace
