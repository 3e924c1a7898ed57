#pragma once

#include "platform/media/MediaTime.h"
#include "platform/media/Player.h" // QPointer<Player> needs the complete type

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Keeps the channel players of one recording in step. Independent players
// drift apart (the sound channel follows its sound clock, the others the
// system clock; seeks and starts finish at different times), so:
// - starts and seeks are coordinated: every player is paused, seeked exactly,
//   and once all of them show the frame, all start in one event-loop turn;
// - while they play, each follower's position is compared with the leader's
//   (the sound channel, never adjusted) twenty times a second: a follower more
//   than 4 ms off (or more than 2 ms off for a second) has its speed nudged by
//   3-30 % (in proportion to the gap) until it is within 2 ms, and learns a
//   small rate trim when it keeps wandering off the same way; one more than
//   250 ms off makes all of them seek together again. While a channel's frames
//   are held up for a moment, and while it catches up afterwards, none is
//   nudged (the nudges under way are taken back at once): it catches up by
//   itself, and the others moved towards it would overshoot once it has.
// Positions are estimated from when libmpv signalled each player's frame
// reports (see Track), so the comparison is finer than one frame.
// Players without an item (hidden channels) take no part. Main thread.
class ChannelSync : public QObject {
    Q_OBJECT
public:
    explicit ChannelSync(QObject* parent = nullptr);

    // The players kept in step (not owned) and the leader among them.
    void setPlayers(const QList<Player*>& players);
    void setLeader(Player* leader);
    Player* leader() const { return m_leader; }

    // Pauses every player with an item, seeks each exactly to `time` and,
    // when all have arrived, starts them together at `rate` (0: they stay
    // paused). `completion` runs then (false when a later request replaced
    // this one). A negative time seeks to the start.
    void seekAll(const MediaTime& time, double rate, std::function<void(bool)> completion = {});
    // seekAll keeping the players' state: playing ones go on at the leader's
    // rate. While an earlier coordination is pending, the state it was to end
    // in is kept (the players are all paused meanwhile).
    void seekAllKeepingState(const MediaTime& time);
    // Starts every player with an item together at `rate` from the leader's
    // position (a coordinated seek to it first). While a coordination is
    // pending it only sets the rate that one ends with.
    void startAll(double rate);
    // Pauses every player with an item; a pending coordination then ends paused.
    void pauseAll();
    // The rate the players go on at once the pending coordination ends; the
    // leader's rate when none is pending.
    double intendedRate() const;
    // Whether a coordinated seek or start is under way.
    bool isCoordinating() const { return m_coordinating; }
    // Stops the drift correction and forgets pending requests (stop, new recording).
    void reset();

    // Takes in the frame reports libmpv has signalled that still wait in the main loop's queue,
    // so that what is read next is what the players show (a busy loop may come to them a frame
    // or two late). From the event loop's top level (a timer), not from a player's own signals.
    void takeInReports();

    // The players taking part: those with an item.
    QList<Player*> activePlayers() const;
    // Each active player's position as estimated now, in seconds, leader first.
    std::vector<double> estimatedPositions();
    // The largest difference between the estimated positions (0 for fewer than two).
    double estimatedSpread();

    // Counters of the corrections, for benchmarks and diagnostics.
    struct Stats {
        int nudges = 0;
        int resyncs = 0;
    };
    Stats stats() const { return m_stats; }

    // One active player's state as the correction sees it, for benchmarks and diagnostics.
    struct TrackState {
        Player* player = nullptr;
        double reported = 0.0;  // the position the player reports
        double estimated = 0.0; // the estimate between its reports
        double reportAge = 0.0; // seconds since that position was first seen
        double rate = 0.0;      // the player's rate (a nudge shows here)
        bool nudged = false;
        double trim = 1.0;
        bool stalled = false;          // held up, or catching up after it
        bool steady = false;           // the estimate follows a steady model
        double residual = 0.0;         // the model's median residual
        double lastResidual = 0.0;     // the latest report's residual less the median (late > 0)
        std::vector<double> intervals; // seconds between its latest reports, oldest first
    };
    std::vector<TrackState> trackStates();

    // One player's recent frame changes: when each new position was first
    // seen (when libmpv signalled it, where the player knows). At a steady rate the positions lie on a line
    // over time up to the detection jitter; the median distance from it places the player's frames on the
    // common clock, far finer than one frame. A rate change (a nudge) continues the line from where the model
    // had got to.
    struct Track {
        QPointer<Player> player;
        double lastSeconds = -1.0;
        qint64 changedAtNs = 0;
        double historyRate = 0.0;
        // The model: anchorPosition at anchorNs, advancing at historyRate,
        // corrected by the median of the residuals of the changes seen since.
        qint64 anchorNs = 0;
        double anchorPosition = 0.0;
        bool anchorSteady = false;   // the anchor came from a steady model (a rate change)
        std::vector<double> offsets; // residuals: position seen - model
        std::vector<qint64> seenNs;  // when the latest positions were first seen (a few)
        bool nudged = false;
        // The side the follower is off to by more than kNudgeUntil (+1 ahead, -1 behind, 0 in
        // step) and since when.
        int offSide = 0;
        qint64 offSinceNs = 0;
        // The follower's learnt rate ratio to the leader at trimBase: the
        // leader's sound clock may run a little slower or faster than the
        // system clock the followers keep.
        double trim = 1.0;
        double trimBase = 0.0;
    };

    // Takes in `reported`, a position first seen at nowNs while the player runs at `rate`.
    static void record(Track& track, double reported, double rate, qint64 nowNs);
    // The track's position at nowNs, its player reporting `reported` and running at `rate`.
    static double estimate(const Track& track, double reported, double rate, qint64 nowNs);
    // Whether the track's next report is overdue at nowNs: its frames are held up.
    static bool overdue(const Track& track, qint64 nowNs);
    // Whether the track's latest report came well behind the line its frames keep: it is
    // catching up after its frames were held up.
    static bool catchingUp(const Track& track);
    // Moves the track's model to the line its latest reports keep when they have settled well
    // behind the old one (a player held up that went on from where it was).
    static void rebaseIfSettledBehind(Track& track);
    // Whether a follower `distance` off is nudged, having stayed off to the same side by more than
    // kNudgeUntil for `lingeredNs`: a small gap that does not close by itself is closed too.
    static bool nudgeDue(double distance, qint64 lingeredNs) {
        return distance > kNudgeAbove || (distance > kNudgeUntil && lingeredNs >= kLingerNs);
    }
    // Either: the gap to the track says nothing about its pace now.
    static bool stalled(const Track& track, qint64 nowNs) {
        return overdue(track, nowNs) || catchingUp(track);
    }

    static constexpr double kNudgeAbove = 0.004;
    static constexpr double kNudgeUntil = 0.002;
    static constexpr qint64 kLingerNs = 1'000'000'000;
    static constexpr double kResyncAbove = 0.250;
    static constexpr double kNudgeFactor = 0.03;
    static constexpr int kCheckIntervalMs = 50;

private:
    static qint64 nowNs();
    // How long after its latest report the track's next one is overdue.
    static qint64 overdueAfterNs(const Track& track);
    void sample();
    bool anyStalled(qint64 nowNs) const;
    void releaseNudges();
    void check();
    void updateTimers();
    double estimate(const Track& track, qint64 nowNs) const;
    static std::optional<double> steadyOffset(const Track& track);
    static double modelled(const Track& track, double residual, qint64 nowNs);
    Track* trackOf(Player* player);
    void clearNudges();
    bool allPlaying() const;

    struct Pending;

    QList<Track> m_tracks;
    QPointer<Player> m_leader;
    // The coordinated seek under way; null when none.
    std::shared_ptr<Pending> m_pending;
    QTimer m_sampleTimer;
    QTimer m_checkTimer;
    bool m_coordinating = false;
    quint64 m_request = 0;
    Stats m_stats;
};
