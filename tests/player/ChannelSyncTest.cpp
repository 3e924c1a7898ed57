// Keeping channel players in step: coordinated seeks and starts, drift correction.

#include "PlaybackTestFixtures.h"

#include "platform/PlayerItem.h"
#include "player/ChannelSync.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

using namespace playbacktest;

namespace {

constexpr double kFrame = 1.0 / 30.0;

class ChannelSyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        const Files& f = files();
        for (const QString& path : {f.front, f.rear, f.inside}) {
            auto player = std::make_unique<Player>();
            player->replaceCurrentItemWithPlayerItem(
                PlayerItem::playerItemWithAsset(Asset::assetWithUrl(QUrl::fromLocalFile(path))));
            raw.append(player.get());
            players.push_back(std::move(player));
        }
        empty = std::make_unique<Player>();
        raw.append(empty.get());
        sync.setPlayers(raw);
        sync.setLeader(raw.first());
    }

    bool seekAllAndWait(double seconds, double rate) {
        bool done = false, finished = false;
        sync.seekAll(MediaTime::makeWithSeconds(seconds, 1000), rate, [&](bool ok) {
            done = true;
            finished = ok;
        });
        return waitFor([&] { return done; }) && finished;
    }

    double rawSpread() const {
        double low = 1e9, high = -1e9;
        for (int i = 0; i < 3; ++i) {
            low = std::min(low, raw[i]->currentSeconds());
            high = std::max(high, raw[i]->currentSeconds());
        }
        return high - low;
    }

    std::vector<std::unique_ptr<Player>> players;
    std::unique_ptr<Player> empty;
    QList<Player*> raw;
    ChannelSync sync;
};

} // namespace

TEST_F(ChannelSyncTest, PlayersWithoutAnItemTakeNoPart) {
    EXPECT_EQ(sync.activePlayers().size(), 3);
    EXPECT_EQ(sync.activePlayers().first(), raw.first()) << "the leader comes first";
    EXPECT_FALSE(sync.activePlayers().contains(empty.get()));
}

TEST_F(ChannelSyncTest, ASeekBringsEveryChannelToTheSameFrame) {
    struct Case {
        double target;
        double expected;
    };
    const Case cases[] = {{1.5, 1.5}, {0.0, 0.0}, {3.25, 3.25}, {-1.0, 0.0}, {2.0, 2.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        ASSERT_TRUE(seekAllAndWait(c.target, 0.0));
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(raw[i]->rate(), 0.0) << i;
            EXPECT_NEAR(raw[i]->currentSeconds(), c.expected, kFrame) << i;
        }
        EXPECT_LE(rawSpread(), kFrame);
        EXPECT_FALSE(sync.isCoordinating());
    }
}

TEST_F(ChannelSyncTest, AStartDuringASeekWaitsForEveryChannel) {
    bool done = false;
    std::vector<double> startRates;
    sync.seekAll(MediaTime(1000, 1000), 0.0, [&](bool) {
        done = true;
        for (Player* player : raw)
            startRates.push_back(player->rate());
    });
    // The play button or a rate change while the channels are still seeking.
    for (Player* player : raw)
        player->setRate(1.0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(raw[i]->rate(), 0.0) << "held until all have arrived";
    ASSERT_TRUE(waitFor([&] { return done; }));
    // All of them started together at that rate (nudges may follow).
    ASSERT_GE(startRates.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_DOUBLE_EQ(startRates[static_cast<std::size_t>(i)], 1.0) << i;
    ASSERT_TRUE(waitFor([&] { return raw[0]->currentSeconds() > 1.5; }));
    // Playing on together; a loaded machine may let them drift apart before they are brought back.
    EXPECT_TRUE(waitFor([&] { return raw[0]->rate() > 0.0 && sync.estimatedSpread() <= 0.05; }))
        << sync.estimatedSpread();
}

TEST_F(ChannelSyncTest, AFollowerThatWandersIsBroughtBack) {
    ASSERT_TRUE(seekAllAndWait(0.0, 1.0));
    ASSERT_TRUE(waitFor([&] { return raw[0]->currentSeconds() > 0.5; }));

    // Far off: all of them seek together again.
    raw[1]->seekToTime(MediaTime::makeWithSeconds(raw[0]->currentSeconds() + 0.8, 1000));
    ASSERT_TRUE(waitFor([&] { return sync.stats().resyncs >= 1; }, 30000));
    ASSERT_TRUE(waitFor([&] { return !sync.isCoordinating() && raw[0]->rate() > 0.0; }));

    // A little off: the follower's speed is nudged until it is back.
    ASSERT_TRUE(waitFor([&] { return raw[0]->currentSeconds() > 0.5 + 0.1; }));
    const int resyncs = sync.stats().resyncs;
    raw[2]->pause();
    QElapsedTimer paused;
    paused.start();
    waitFor([&] { return paused.elapsed() >= 100; });
    raw[2]->play();
    ASSERT_TRUE(waitFor([&] { return sync.stats().nudges >= 1 || sync.stats().resyncs > resyncs; }, 30000));
    // Back in step, the follower at the leader's rate (up to its small learnt trim).
    ASSERT_TRUE(waitFor(
        [&] {
            return sync.estimatedSpread() < 0.02 && std::abs(raw[2]->rate() / raw[0]->rate() - 1.0) < 0.031;
        },
        15000))
        << "spread " << sync.estimatedSpread();
    EXPECT_GT(raw[0]->rate(), 0.0) << "the leader is never held back";
}
