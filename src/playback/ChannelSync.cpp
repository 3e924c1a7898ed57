#include "playback/ChannelSync.h"

#include "platform/media/Player.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <numeric>

namespace {

// A report of a new frame older than this says the player is not advancing.
constexpr qint64 kFreshNs = 400'000'000;
// The most a position is carried forward past its last report (about two frames).
constexpr double kCarryCap = 0.066;
// A coordinated seek that does not finish in this time starts the players anyway.
constexpr int kCoordinationTimeoutMs = 4000;
constexpr int kSampleIntervalMs = 4;
// Frame changes kept per player, and how many make a steady estimate.
constexpr std::size_t kHistory = 24;
constexpr std::size_t kMinChanges = 5;
// A player's next report is overdue this many of its usual gaps (and at least this long) after
// its latest.
constexpr double kOverdueGaps = 2.5;
constexpr qint64 kOverdueMinNs = 40'000'000;
// A report this many usual steps of the media (and at least this much of it) behind the line its
// player's frames keep tells of a player catching up after its frames were held up.
constexpr double kBehindSteps = 0.6;
constexpr double kBehindMin = 0.010;
// This many reports in a row that far behind, within this much of each other (or this many usual
// steps), tell of a player gone on from where it was held up.
constexpr std::size_t kSettledReports = 3;
constexpr double kSettledSpread = 0.006;
constexpr double kSettledSteps = 0.3;
// How fast and how far a follower's rate trim may move.
constexpr double kTrimStep = 0.001;
constexpr double kTrimLimit = 0.03;

bool hasItem(const Player* player) {
    return player && player->currentItem() && player->currentItem()->status() != PlayerItem::Status::Failed;
}

// The middle one of `values`, which are not empty.
template <typename T> T middle(std::vector<T> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The usual time between a track's latest reports.
qint64 typicalGapNs(const ChannelSync::Track& track) {
    std::vector<qint64> gaps;
    for (std::size_t i = 1; i < track.seenNs.size(); ++i)
        gaps.push_back(track.seenNs[i] - track.seenNs[i - 1]);
    return gaps.empty() ? 0 : middle(std::move(gaps));
}

// How far below its line a track's report lies when the track is behind it: a late frame, not the
// jitter of when the reports are seen.
double behindLimit(const ChannelSync::Track& track) {
    const double step = typicalGapNs(track) / 1e9 * track.historyRate;
    return std::max(kBehindMin, kBehindSteps * step);
}

double itemDuration(const Player* player) {
    if (!player || !player->currentItem() || !player->currentItem()->asset())
        return 0.0;
    const double seconds = player->currentItem()->asset()->duration().seconds();
    return std::isfinite(seconds) ? seconds : 0.0;
}

} // namespace

// One coordinated seek: the players still to arrive, and the rate they all
// start at once every one has (0: they stay paused).
struct ChannelSync::Pending {
    int remaining = 0;
    bool finished = true;
    bool done = false;
    QList<QPointer<Player>> players;
    std::vector<QMetaObject::Connection> holds;
    double rate = 0.0;
    std::function<void(bool)> completion;
};

ChannelSync::ChannelSync(QObject* parent) : QObject(parent) {
    m_sampleTimer.setTimerType(Qt::PreciseTimer);
    m_sampleTimer.setInterval(kSampleIntervalMs);
    connect(&m_sampleTimer, &QTimer::timeout, this, [this] {
        takeInReports();
        sample();
    });
    m_checkTimer.setInterval(kCheckIntervalMs);
    connect(&m_checkTimer, &QTimer::timeout, this, &ChannelSync::check);
}

void ChannelSync::setPlayers(const QList<Player*>& players) {
    m_tracks.clear();
    for (Player* player : players) {
        Track track;
        track.player = player;
        m_tracks.append(track);
    }
    updateTimers();
}

void ChannelSync::setLeader(Player* leader) {
    if (m_leader != leader)
        clearNudges();
    m_leader = leader;
    updateTimers();
}

ChannelSync::Track* ChannelSync::trackOf(Player* player) {
    for (Track& track : m_tracks)
        if (track.player == player)
            return &track;
    return nullptr;
}

void ChannelSync::takeInReports() {
    QList<QPointer<Player>> players;
    for (const Track& track : m_tracks)
        players.append(track.player);
    for (const QPointer<Player>& player : players)
        if (player)
            QCoreApplication::sendPostedEvents(player, QEvent::MetaCall);
}

QList<Player*> ChannelSync::activePlayers() const {
    QList<Player*> active;
    if (hasItem(m_leader))
        active.append(m_leader);
    for (const Track& track : m_tracks)
        if (track.player != m_leader && hasItem(track.player))
            active.append(track.player);
    return active;
}

void ChannelSync::reset() {
    ++m_request;
    m_coordinating = false;
    m_pending.reset();
    clearNudges();
    for (Track& track : m_tracks) {
        track.lastSeconds = -1.0;
        track.offsets.clear();
    }
    updateTimers();
}

void ChannelSync::clearNudges() {
    const double base = m_leader ? m_leader->rate() : 0.0;
    for (Track& track : m_tracks) {
        if (track.nudged && track.player && track.player->rate() > 0.0 && base > 0.0)
            track.player->setRate(base);
        track.nudged = false;
    }
}

void ChannelSync::seekAll(const MediaTime& time, double rate, std::function<void(bool)> completion) {
    const QList<Player*> players = activePlayers();
    const quint64 request = ++m_request;
    for (Track& track : m_tracks) {
        track.nudged = false;
        track.offSide = 0;
        track.lastSeconds = -1.0;
        track.offsets.clear();
    }
    if (players.isEmpty()) {
        m_coordinating = false;
        m_pending.reset();
        if (completion)
            completion(false);
        return;
    }
    m_coordinating = true;
    MediaTime target = time;
    if (!target.isNumeric() || target.seconds() < 0.0)
        target = MediaTime::zero();

    auto pending = std::make_shared<Pending>();
    pending->remaining = static_cast<int>(players.size());
    pending->rate = rate;
    pending->completion = std::move(completion);
    for (Player* player : players)
        pending->players.append(player);
    m_pending = pending;

    QPointer<ChannelSync> self(this);
    auto finish = [self, pending, request] {
        if (pending->done)
            return;
        pending->done = true;
        for (const auto& connection : pending->holds)
            QObject::disconnect(connection);
        const bool current = self && self->m_request == request;
        if (current) {
            self->m_pending.reset();
            // All together, in this one turn of the event loop.
            if (pending->rate > 0.0)
                for (const QPointer<Player>& player : pending->players)
                    if (player)
                        player->setRate(pending->rate);
            self->m_coordinating = false;
            self->updateTimers();
        }
        if (pending->completion)
            pending->completion(current && pending->finished);
    };

    for (Player* player : players)
        player->pause();
    // Whoever starts a player meanwhile (a rate change, the play button) only
    // sets the rate at which all of them start together.
    for (Player* player : players) {
        pending->holds.push_back(connect(player, &Player::rateChanged, this, [pending, player] {
            if (pending->done || !(player->rate() > 0.0))
                return;
            pending->rate = player->rate();
            player->pause();
        }));
    }
    for (Player* player : players) {
        player->seekToTime(target, [pending, finish](bool finished) {
            pending->finished = pending->finished && finished;
            if (--pending->remaining == 0)
                finish();
        });
    }
    // A player that never arrives must not hold the others for ever.
    QTimer::singleShot(kCoordinationTimeoutMs, this, [pending, finish] {
        if (!pending->done) {
            pending->finished = false;
            finish();
        }
    });
}

double ChannelSync::intendedRate() const {
    // Every player is paused while a coordination is pending: its own rate
    // says nothing about whether they are to play on.
    if (m_coordinating && m_pending)
        return m_pending->rate;
    return m_leader && m_leader->rate() > 0.0 ? m_leader->rate() : 0.0;
}

void ChannelSync::seekAllKeepingState(const MediaTime& time) {
    seekAll(time, intendedRate());
}

void ChannelSync::startAll(double rate) {
    if (m_coordinating && m_pending) {
        // The players are already on their way to the one frame; they start there.
        m_pending->rate = rate;
        return;
    }
    const MediaTime from = m_leader ? m_leader->currentTime() : MediaTime::zero();
    seekAll(from, rate);
}

void ChannelSync::pauseAll() {
    if (m_pending)
        m_pending->rate = 0.0;
    for (Player* player : activePlayers())
        player->pause();
    clearNudges();
    updateTimers();
}

qint64 ChannelSync::nowNs() {
    // The clock libmpv's signals are timed on (see Player::currentSecondsSignalledNs).
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

qint64 ChannelSync::overdueAfterNs(const Track& track) {
    return std::max<qint64>(typicalGapNs(track) * kOverdueGaps, kOverdueMinNs);
}

bool ChannelSync::overdue(const Track& track, qint64 nowNs) {
    if (track.seenNs.size() < 3)
        return false;
    return nowNs - track.changedAtNs > overdueAfterNs(track);
}

bool ChannelSync::catchingUp(const Track& track) {
    if (track.seenNs.size() < 3 || track.offsets.empty() || !(track.historyRate > 0.0))
        return false;
    const std::optional<double> residual = steadyOffset(track);
    if (!residual)
        return false;
    return track.offsets.back() - *residual < -behindLimit(track);
}

std::optional<double> ChannelSync::steadyOffset(const Track& track) {
    if (track.offsets.empty() || (!track.anchorSteady && track.offsets.size() < kMinChanges))
        return std::nullopt;
    return middle(track.offsets);
}

double ChannelSync::modelled(const Track& track, double residual, qint64 nowNs) {
    return track.anchorPosition + track.historyRate * ((nowNs - track.anchorNs) / 1e9) + residual;
}

double ChannelSync::estimate(const Track& track, qint64 nowNs) const {
    const Player* player = track.player;
    if (!player)
        return 0.0;
    return estimate(track, player->currentSeconds(), player->rate(), nowNs);
}

double ChannelSync::estimate(const Track& track, double reported, double rate, qint64 nowNs) {
    if (!(rate > 0.0) || track.lastSeconds != reported)
        return reported;
    // A rate set since the latest report shows only in the reports after it (the frames on
    // their way keep the pace they were timed at): until then the model goes on as it was.
    if (const std::optional<double> residual = steadyOffset(track)) {
        // The model is the player's clock: a frame shown late or dropped (one or two at 2x, where
        // a frame lasts 17 ms) does not hold it back. A player whose next report is overdue is
        // held up, and its estimate stops where the model was then.
        const qint64 at = overdue(track, nowNs) ? track.changedAtNs + overdueAfterNs(track) : nowNs;
        const double position = modelled(track, *residual, at);
        // A model that no longer describes the reports is not followed.
        if (std::abs(modelled(track, *residual, track.changedAtNs) - reported) <= kCarryCap)
            return position;
    }
    const double carried = std::min(kCarryCap, (nowNs - track.changedAtNs) / 1e9 * rate);
    return reported + std::max(0.0, carried);
}

std::vector<double> ChannelSync::estimatedPositions() {
    // Take in the reports that arrived since the last sample.
    sample();
    const qint64 now = nowNs();
    std::vector<double> positions;
    for (Player* player : activePlayers()) {
        const Track* found = nullptr;
        for (const Track& track : m_tracks)
            if (track.player == player)
                found = &track;
        if (found) {
            positions.push_back(estimate(*found, now));
        } else {
            positions.push_back(player->currentSeconds());
        }
    }
    return positions;
}

std::vector<ChannelSync::TrackState> ChannelSync::trackStates() {
    sample();
    const qint64 now = nowNs();
    std::vector<TrackState> states;
    for (Player* player : activePlayers()) {
        const Track* track = trackOf(player);
        TrackState state;
        state.player = player;
        state.reported = player->currentSeconds();
        state.rate = player->rate();
        if (track) {
            state.estimated = estimate(*track, now);
            state.reportAge = (now - track->changedAtNs) / 1e9;
            state.nudged = track->nudged;
            state.stalled = stalled(*track, now);
            state.trim = track->trim;
            if (const std::optional<double> residual = steadyOffset(*track)) {
                state.steady = true;
                state.residual = *residual;
                if (!track->offsets.empty())
                    state.lastResidual = track->offsets.back() - *residual;
            }
            for (std::size_t i = 1; i < track->seenNs.size(); ++i)
                state.intervals.push_back((track->seenNs[i] - track->seenNs[i - 1]) / 1e9);
        } else {
            state.estimated = state.reported;
        }
        states.push_back(std::move(state));
    }
    return states;
}

double ChannelSync::estimatedSpread() {
    const std::vector<double> positions = estimatedPositions();
    if (positions.size() < 2)
        return 0.0;
    const auto [low, high] = std::minmax_element(positions.begin(), positions.end());
    return *high - *low;
}

void ChannelSync::sample() {
    const qint64 now = nowNs();
    bool nudged = false;
    for (Track& track : m_tracks) {
        if (!track.player)
            continue;
        nudged = nudged || track.nudged;
        const double reported = track.player->currentSeconds();
        if (reported == track.lastSeconds)
            continue;
        // Timed when libmpv signalled it where known: the main loop may come to it late.
        qint64 seen = track.player->currentSecondsSignalledNs();
        if (seen <= 0 || seen > now || now - seen > kFreshNs)
            seen = now;
        record(track, reported, track.player->rate(), std::max(seen, track.changedAtNs));
    }
    // A channel held up is let catch up at once, not at the next check: every check in between
    // would move the others further towards it.
    if (nudged && !m_coordinating && anyStalled(now))
        releaseNudges();
}

bool ChannelSync::anyStalled(qint64 now) const {
    for (const Track& track : m_tracks) {
        const Player* player = track.player;
        if (player && hasItem(player) && player->rate() > 0.0 && track.lastSeconds >= 0.0 &&
            now - track.changedAtNs <= kFreshNs && stalled(track, now))
            return true;
    }
    return false;
}

void ChannelSync::releaseNudges() {
    const double base = m_leader ? m_leader->rate() : 0.0;
    for (Track& track : m_tracks) {
        if (track.nudged && track.player && track.player->rate() > 0.0 && base > 0.0)
            track.player->setRate(base * track.trim);
        track.nudged = false;
        track.offSide = 0;
    }
}

void ChannelSync::record(Track& track, double reported, double rate, qint64 now) {
    const double step = reported - track.lastSeconds;
    const bool jumped =
        !(rate > 0.0) || track.lastSeconds < 0.0 || step < 0.0 || step > 0.2 * std::max(rate, 1.0);
    if (jumped) {
        // A seek, a pause or a new item: the model starts again here.
        track.anchorNs = now;
        track.anchorPosition = reported;
        track.anchorSteady = false;
        track.offsets.clear();
        track.seenNs.clear();
    } else if (rate != track.historyRate) {
        // A new rate continues the line from where the model had got to. The residuals seen
        // so far go on describing how the reports scatter about it: started afresh, the
        // estimate would follow the next few reports alone, each as late or early as the
        // busy main loop delivered it, and the corrections change the rate often.
        const std::optional<double> residual = steadyOffset(track);
        track.anchorPosition = residual ? modelled(track, *residual, now) : reported;
        track.anchorNs = now;
        track.anchorSteady = residual.has_value();
        if (residual)
            for (double& offset : track.offsets)
                offset -= *residual;
        else
            track.offsets.clear();
    }
    track.historyRate = rate;
    track.lastSeconds = reported;
    track.changedAtNs = now;
    track.seenNs.push_back(now);
    if (track.seenNs.size() > 6)
        track.seenNs.erase(track.seenNs.begin());
    if (rate > 0.0) {
        track.offsets.push_back(reported - modelled(track, 0.0, now));
        if (track.offsets.size() > kHistory)
            track.offsets.erase(track.offsets.begin());
        rebaseIfSettledBehind(track);
    }
}

void ChannelSync::rebaseIfSettledBehind(Track& track) {
    // A player held up long enough does not always win the time back: libmpv may go on from the
    // late frame. Its latest reports then keep to a line of their own, as far behind the old one
    // each time, where one catching up comes nearer with each report. The model moves to that
    // line at once, so that the gap counts (and is closed) instead of waiting as a catch-up for
    // the old residuals to age out.
    if (track.offsets.size() < kMinChanges + kSettledReports || track.seenNs.size() < 3)
        return;
    const auto latest = track.offsets.end() - kSettledReports;
    const double residual = middle(std::vector<double>(track.offsets.begin(), latest));
    const double step = typicalGapNs(track) / 1e9 * track.historyRate;
    const auto [low, high] = std::minmax_element(latest, track.offsets.end());
    if (*high - residual >= -behindLimit(track) ||
        *high - *low > std::max(kSettledSpread, kSettledSteps * step))
        return;
    const double shift = std::accumulate(latest, track.offsets.end(), 0.0) / kSettledReports;
    std::vector<double> kept(latest, track.offsets.end());
    for (double& offset : kept)
        offset -= shift;
    track.anchorPosition += shift;
    track.anchorSteady = true;
    track.offsets = std::move(kept);
}

bool ChannelSync::allPlaying() const {
    return m_leader && hasItem(m_leader) && m_leader->rate() > 0.0;
}

void ChannelSync::updateTimers() {
    const bool several = activePlayers().size() >= 2;
    if (several && !m_checkTimer.isActive())
        m_checkTimer.start();
    else if (!several)
        m_checkTimer.stop();
    const bool sampling = several && allPlaying();
    if (sampling && !m_sampleTimer.isActive())
        m_sampleTimer.start();
    else if (!sampling)
        m_sampleTimer.stop();
}

void ChannelSync::check() {
    takeInReports();
    updateTimers();
    if (m_coordinating || !m_sampleTimer.isActive() || !m_leader)
        return;
    sample();
    Track* leaderTrack = trackOf(m_leader);
    const qint64 now = nowNs();
    if (!leaderTrack || leaderTrack->lastSeconds < 0.0 || now - leaderTrack->changedAtNs > kFreshNs)
        return;
    const double base = m_leader->rate();
    const double leaderPosition = estimate(*leaderTrack, now);
    // While a channel's frames are held up (a decoder or a thread kept waiting on a busy
    // machine), and while it catches up afterwards, the gap says nothing about the pace: it
    // catches up by itself, as libmpv keeps its clock, and a nudge made meanwhile overshoots once
    // it has. No channel is nudged until every one reports on its line again (one that stays stuck
    // is left out after kFreshNs).
    if (anyStalled(now)) {
        releaseNudges();
        return;
    }
    bool resync = false;
    for (Track& track : m_tracks) {
        Player* player = track.player;
        if (!player || player == m_leader || !hasItem(player))
            continue;
        // A paused follower was paused on purpose; one seeking or stalled is judged later.
        if (!(player->rate() > 0.0) || player->timeControlStatus() != Player::TimeControlStatus::Playing)
            continue;
        if (track.lastSeconds < 0.0 || now - track.changedAtNs > kFreshNs)
            continue;
        // A shorter channel that has reached its end stays there.
        const double duration = itemDuration(player);
        if (duration > 0.0 && (leaderPosition >= duration - 0.1 || track.lastSeconds >= duration - 0.1))
            continue;
        const double offset = estimate(track, now) - leaderPosition;
        const double distance = std::abs(offset);
        const int side = distance > kNudgeUntil ? (offset > 0.0 ? 1 : -1) : 0;
        if (side != track.offSide) {
            track.offSide = side;
            track.offSinceNs = now;
        }
        // Fine corrections wait for steady estimates of both.
        const bool steady = steadyOffset(track) && steadyOffset(*leaderTrack);
        if (!steady && distance <= kResyncAbove)
            continue;
        if (track.trimBase != base) {
            track.trim = 1.0;
            track.trimBase = base;
        }
        if (distance > kResyncAbove) {
            resync = true;
        } else if (nudgeDue(distance, side != 0 ? now - track.offSinceNs : 0)) {
            // A follower that keeps wandering off the same way runs at a slightly different rate.
            if (!track.nudged || distance > kNudgeAbove)
                track.trim = std::clamp(track.trim * (offset > 0.0 ? 1.0 - kTrimStep : 1.0 + kTrimStep),
                                        1.0 - kTrimLimit, 1.0 + kTrimLimit);
            // In proportion to the gap, so that it closes in about a fifth of a second whatever its
            // size; checked often, so that a stall is caught before it grows past a frame.
            const double factor = std::clamp(distance * 5.0, kNudgeFactor, 10 * kNudgeFactor);
            const double rate = base * track.trim * (offset > 0.0 ? 1.0 - factor : 1.0 + factor);
            if (!track.nudged || std::abs(player->rate() - rate) > 1e-9) {
                if (!track.nudged)
                    ++m_stats.nudges;
                player->setRate(rate);
                track.nudged = true;
            }
        } else if (track.nudged && distance < kNudgeUntil) {
            player->setRate(base * track.trim);
            track.nudged = false;
        } else if (!track.nudged && std::abs(player->rate() - base * track.trim) > 1e-6) {
            // A rate change that reached the leader alone.
            player->setRate(base * track.trim);
        }
    }
    if (resync) {
        ++m_stats.resyncs;
        seekAll(MediaTime::makeWithSeconds(leaderPosition, 1000000), base);
    }
}
