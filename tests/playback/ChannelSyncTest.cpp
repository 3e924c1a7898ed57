// Keeping channel players in step: coordinated seeks and starts, drift correction.

#include "common/PlaybackTestFixtures.h"

#include "platform/media/PlayerItem.h"
#include "playback/ChannelSync.h"

#include <mpv/client.h>

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

TEST_F(ChannelSyncTest, ReportsWaitingInTheLoopAreTakenIn) {
    ASSERT_TRUE(seekAllAndWait(0.0, 1.0));
    ASSERT_TRUE(waitFor([&] { return raw[0]->currentSeconds() > 0.3; }));
    // The main loop kept busy: libmpv's newer position waits in its queue.
    const double before = raw[0]->currentSeconds();
    double shown = before;
    QElapsedTimer busy;
    busy.start();
    while (shown < before + 2 * kFrame && busy.elapsed() < 20000)
        mpv_get_property(raw[0]->mpvHandle(), "time-pos", MPV_FORMAT_DOUBLE, &shown);
    ASSERT_GE(shown, before + 2 * kFrame);
    EXPECT_EQ(raw[0]->currentSeconds(), before);
    sync.takeInReports();
    EXPECT_GT(raw[0]->currentSeconds(), before);
    EXPECT_GE(raw[0]->currentSeconds(), shown - kFrame);
}

namespace {

// A player's reports as the main loop sees them: each new frame's position arrives some
// milliseconds after the frame, by a pseudo-random amount, while its rate is changed now and
// then as a correction does.
struct Scenario {
    const char* name;
    std::vector<std::pair<double, double>> rates; // (from seconds, rate)
};

double truePosition(const Scenario& s, double t) {
    double position = 0.0;
    for (std::size_t i = 0; i < s.rates.size(); ++i) {
        const double from = s.rates[i].first;
        const double to = i + 1 < s.rates.size() ? s.rates[i + 1].first : 1e9;
        if (t <= from)
            break;
        position += (std::min(t, to) - from) * s.rates[i].second;
    }
    return position;
}

double rateAt(const Scenario& s, double t) {
    double rate = s.rates.front().second;
    for (const auto& [from, r] : s.rates)
        if (t >= from)
            rate = r;
    return rate;
}

} // namespace

TEST(ChannelSyncEstimate, RateChangesKeepTheEstimateOffTheReportsJitter) {
    const Scenario scenarios[] = {
        {"steady", {{0.0, 1.0}}},
        {"nudged now and then",
         {{0.0, 1.0}, {2.0, 1.05}, {2.05, 1.04}, {2.1, 1.02}, {2.3, 1.0}, {3.0, 0.97}, {3.2, 1.0}}},
        {"nudged at every check",
         {{0.0, 1.0},
          {1.5, 1.03},
          {1.55, 1.031},
          {1.6, 1.029},
          {1.65, 1.02},
          {1.7, 1.01},
          {1.75, 0.999},
          {1.8, 0.98},
          {1.85, 0.99},
          {1.9, 1.0}}},
        {"fast, nudged",
         {{0.0, 2.0}, {2.0, 2.1}, {2.05, 2.06}, {2.1, 2.0}, {2.6, 1.94}, {2.65, 1.97}, {2.7, 2.0}}},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        ChannelSync::Track track;
        unsigned seed = 12345;
        const auto jitter = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return 0.002 + 0.012 * ((seed >> 16) % 1000) / 1000.0; // 2-14 ms late
        };
        // Frames of 1/30 s of media, each first seen late by the jitter, in order.
        std::vector<std::pair<double, double>> reports; // (seen at, position)
        double t = 0.0, seen = 0.0;
        for (int frame = 0; t < 4.0; ++frame) {
            const double position = frame / 30.0;
            while (truePosition(s, t) < position)
                t += 0.0001;
            seen = std::max(seen + 0.001, t + jitter());
            reports.emplace_back(seen, position);
        }
        std::size_t next = 0;
        double reported = -1.0;
        std::vector<double> errors;
        double reference = 0.0, worst = 0.0;
        for (double now = 0.0; now < 3.9; now += 0.004) {
            while (next < reports.size() && reports[next].first <= now) {
                reported = reports[next].second;
                ChannelSync::record(track, reported, rateAt(s, reports[next].first),
                                    qint64(reports[next].first * 1e9));
                ++next;
            }
            if (reported < 0.0)
                continue;
            const double error = ChannelSync::estimate(track, reported, rateAt(s, now), qint64(now * 1e9)) -
                                 truePosition(s, now);
            if (now >= 1.0 && now < 1.4)
                errors.push_back(error);
            if (now >= 1.4) {
                if (reference == 0.0) {
                    std::sort(errors.begin(), errors.end());
                    reference = errors[errors.size() / 2];
                }
                worst = std::max(worst, std::abs(error - reference) / rateAt(s, now));
            }
        }
        // The estimate stays on the line the frames keep, up to a few milliseconds; the reports
        // scatter over 12 ms.
        EXPECT_LE(worst, 0.004);
    }
}

namespace {

// Twelve frames of 1/30 s of media at `rate`, each seen on time from 1 s on: a track on its line
// position = 1 + (t - 1) * rate.
void recordOnLine(ChannelSync::Track& track, double rate) {
    for (int i = 0; i < 12; ++i)
        ChannelSync::record(track, 1.0 + i / 30.0, rate, qint64((1.0 + i / 30.0 / rate) * 1e9));
}

} // namespace

TEST(ChannelSyncEstimate, AReportIsOverdueOnlyWellPastTheUsualGap) {
    struct Case {
        double frame; // seconds between reports
        double after; // seconds since the latest
        bool overdue;
    };
    const Case cases[] = {{1 / 30.0, 0.050, false}, {1 / 30.0, 0.090, true},  {1 / 60.0, 0.030, false},
                          {1 / 60.0, 0.045, true},  {1 / 60.0, 0.035, false}, {0.004, 0.030, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frame << " " << c.after);
        ChannelSync::Track track;
        for (int i = 0; i < 10; ++i)
            ChannelSync::record(track, 1.0 + i * c.frame, 1.0, qint64((1.0 + i * c.frame) * 1e9));
        const double last = 1.0 + 9 * c.frame;
        EXPECT_EQ(ChannelSync::overdue(track, qint64((last + c.after) * 1e9)), c.overdue);
    }
}

TEST(ChannelSyncEstimate, TheEstimateKeepsItsLineUntilTheNextReportIsOverdue) {
    struct Case {
        const char* name;
        double rate;
        double after; // seconds after the latest report the estimate is read
        bool onLine;  // else held about where the line was when the next report became overdue
    };
    const Case cases[] = {
        {"a frame shown late at 2x", 2.0, 0.040, true},
        {"two frames late at 1x", 1.0, 0.075, true},
        {"held up at 2x", 2.0, 0.200, false},
        {"held up at 1x", 1.0, 0.300, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChannelSync::Track track;
        const double gap = 1 / 30.0 / c.rate;
        recordOnLine(track, c.rate);
        const double reported = 1.0 + 11 / 30.0;
        const double now = 1.0 + 11 * gap + c.after;
        const double line = 1.0 + (now - 1.0) * c.rate;
        const double estimated = ChannelSync::estimate(track, reported, c.rate, qint64(now * 1e9));
        if (c.onLine) {
            EXPECT_NEAR(estimated, line, 0.002);
        } else {
            EXPECT_LT(estimated, line - 0.05);
            EXPECT_GE(estimated, reported + gap * c.rate);
        }
    }
}

TEST(ChannelSyncEstimate, AReportWellBehindItsLineTellsOfAChannelCatchingUp) {
    struct Case {
        const char* name;
        double rate;
        double late;   // seconds after its due time the next report comes
        double frames; // frames of media it moves on by
        bool catchingUp;
    };
    const Case cases[] = {
        {"on time", 1.0, 0.0, 1, false},
        {"a little late", 2.0, 0.004, 1, false},
        {"a frame dropped", 2.0, 1 / 60.0, 2, false},
        {"held up, then the frame it was at", 2.0, 0.080, 1, true},
        {"held up, then the frame its clock is at", 2.0, 0.080, 1 + 0.080 * 60, false},
        {"held up at normal speed", 1.0, 0.060, 1, true},
        {"a whole frame late at normal speed", 1.0, 1 / 30.0, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChannelSync::Track track;
        const double gap = 1 / 30.0 / c.rate;
        recordOnLine(track, c.rate);
        EXPECT_FALSE(ChannelSync::catchingUp(track)) << "on its line";
        ChannelSync::record(track, 1.0 + (11 + c.frames) / 30.0, c.rate,
                            qint64((1.0 + 12 * gap + c.late) * 1e9));
        EXPECT_EQ(ChannelSync::catchingUp(track), c.catchingUp);
        // Back on its line, it is in step again.
        ChannelSync::record(track, 1.0 + (12 + c.late * c.rate * 30 + 1) / 30.0, c.rate,
                            qint64((1.0 + 13 * gap + c.late) * 1e9));
        EXPECT_FALSE(ChannelSync::catchingUp(track));
    }
}

TEST(ChannelSyncEstimate, APlayerThatGoesOnFromWhereItWasHeldUpIsFollowedThere) {
    struct Case {
        const char* name;
        double rate;
        double held;                // seconds without a report
        std::vector<double> behind; // seconds of media each report after it is behind the old line
        bool followed;              // the estimate keeps to the reports' new line, in step again
    };
    const Case cases[] = {
        {"gone on after 100 ms held at 2x", 2.0, 0.100, {0.167, 0.168, 0.165}, true},
        {"gone on after 90 ms held at 1x", 1.0, 0.090, {0.057, 0.055, 0.059}, true},
        {"catching up at 2x", 2.0, 0.100, {0.167, 0.100, 0.034}, false},
        {"two reports so far", 2.0, 0.100, {0.167, 0.167}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChannelSync::Track track;
        const double gap = 1 / 30.0 / c.rate;
        recordOnLine(track, c.rate);
        double reported = 0.0, seen = 1.0 + 11 * gap + c.held;
        for (double behind : c.behind) {
            reported = 1.0 + (seen - 1.0) * c.rate - behind;
            ChannelSync::record(track, reported, c.rate, qint64(seen * 1e9));
            seen += gap;
        }
        EXPECT_EQ(ChannelSync::catchingUp(track), !c.followed);
        const double now = seen - gap / 2;
        const double estimated = ChannelSync::estimate(track, reported, c.rate, qint64(now * 1e9));
        if (c.followed) {
            EXPECT_NEAR(estimated, 1.0 + (now - 1.0) * c.rate - c.behind.back(), 0.004);
        }
    }
}

TEST(ChannelSyncEstimate, ASmallGapThatLingersIsClosedToo) {
    struct Case {
        double distance;
        double lingered; // seconds off to the same side
        bool nudged;
    };
    const Case cases[] = {{0.005, 0.0, true},  {0.0035, 0.0, false}, {0.0035, 0.5, false},
                          {0.0035, 1.0, true}, {0.0025, 3.0, true},  {0.0015, 5.0, false},
                          {0.3, 0.0, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.distance << " for " << c.lingered);
        EXPECT_EQ(ChannelSync::nudgeDue(c.distance, qint64(c.lingered * 1e9)), c.nudged);
    }
}
