#include "playback/RecordingPlayback.h"

#include "platform/system/LogCategories.h"
#include "platform/ui/showAlert.h"
#include "playback/ChannelComposition.h"
#include "playback/ChannelSync.h"
#include "playback/PlayerPool.h"
#include "shared/PlayerState.h"

#include "metadata/FFmpeg.h"
#include "metadata/PacketCache.h"
#include "platform/media/Asset.h"
#include "platform/media/MutableComposition.h"
#include "platform/media/Player.h"
#include "platform/media/PlayerItem.h"
#include "platform/system/FileManager.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

void print(const QString& text) {
    platform::logLine(platform::lcPlayback(), text);
}

// A new composition of `video` and, when given, `sound`, each over the
// asset's duration from zero; a track that cannot be inserted is left out.
std::shared_ptr<MutableComposition> channelComposition(const std::shared_ptr<Asset>& asset,
                                                       const std::shared_ptr<AssetTrack>& video,
                                                       const std::shared_ptr<AssetTrack>& sound,
                                                       bool printErrors) {
    auto composition = MutableComposition::composition();
    auto videoTrack = composition->addMutableTrackWithMediaType(video->mediaType(), 0);
    const MediaTimeRange range(MediaTime::zero(), asset->duration());
    QString error;
    if (sound) {
        if (auto soundTrack = composition->addMutableTrackWithMediaType(sound->mediaType(), 0)) {
            if (!soundTrack->insertTimeRange(range, sound, MediaTime::zero(), &error)) {
                if (printErrors)
                    print(error);
                composition->removeTrack(soundTrack);
            }
        }
    }
    if (videoTrack && !videoTrack->insertTimeRange(range, video, MediaTime::zero(), &error)) {
        if (printErrors)
            print(error);
        composition->removeTrack(videoTrack);
    }
    return composition;
}

std::shared_ptr<AssetTrack> soundTrackOf(const std::shared_ptr<Asset>& asset,
                                         RecordingPlayback::SoundTrack which) {
    const auto sounds = asset->tracksWithMediaType(MediaType::Audio);
    if (sounds.isEmpty())
        return nullptr;
    return which == RecordingPlayback::SoundTrack::First ? sounds.first() : sounds.last();
}

// What a file looked like when an asset was made of it: a change of size or time makes a new one.
struct FileStamp {
    QString path;
    qint64 size = -1;
    qint64 modified = -1;
    bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const QUrl& url) {
    const QString path = url.isLocalFile() ? FileManager::filePath(url) : url.path();
    const QFileInfo info(path);
    return {path, info.exists() ? info.size() : -1,
            info.exists() ? info.lastModified().toMSecsSinceEpoch() : -1};
}

// The asset last made for an entry that is no AVI recording. The next screen playing the same
// recording (full screen after the window player, and back) takes it instead of opening every
// channel file again, which costs tens of milliseconds on the way to its first picture.
struct KeptAsset {
    QUrl url;
    bool composition = false;
    QList<FileStamp> files;
    std::shared_ptr<Asset> asset;
};

KeptAsset& keptAsset() {
    static KeptAsset kept;
    return kept;
}

QList<FileStamp> stampsOf(const orvoTableModel& entry) {
    QList<FileStamp> stamps{stampOf(entry.url)};
    for (const std::optional<QUrl>& sibling : {entry.row.merge, entry.row.merge2})
        stamps.append(sibling ? stampOf(*sibling) : FileStamp{});
    return stamps;
}

} // namespace

RecordingPlayback::RecordingPlayback(QObject* parent) : QObject(parent) {}

RecordingPlayback::~RecordingPlayback() {
    if (m_endObserver)
        NotificationCenter::defaultCenter().removeObserver(m_endObserver);
}

Player* RecordingPlayback::addPlayer() {
    Player* player = PlayerPool::take(this);
    players.append(player);
    return player;
}

void RecordingPlayback::releasePlayers() {
    unload();
    const QList<Player*> released = players;
    players.clear();
    channelSync().setPlayers({});
    for (Player* player : released)
        PlayerPool::giveBack(player);
}

FFmpeg& RecordingPlayback::reader() {
    if (!m_reader)
        m_reader = std::make_unique<FFmpeg>();
    return *m_reader;
}

std::shared_ptr<Asset> RecordingPlayback::assetForAviFile(const QUrl& url) {
    print(QStringLiteral("itemPath - ") + url.path());
    const bool hevc = reader().isH265(url.isLocalFile() ? FileManager::filePath(url) : url.path());
    return aviToMov(url, hevc);
}

void RecordingPlayback::releaseFilesForRewrap() {
    unload();
    QElapsedTimer clock;
    clock.start();
    for (Player* player : std::as_const(players))
        player->waitUntilStopped(std::max<int>(0, kRewrapReleaseTimeoutMs - int(clock.elapsed())));
}

std::shared_ptr<Asset> RecordingPlayback::assetForEntry(const orvoTableModel& entry, bool composition) {
    const bool avi = QFileInfo(entry.url.path()).suffix().toLower() == QLatin1String("avi");
    // An AVI recording (and each of its channel files) is rewrapped into the rewrap
    // files, which the players may still be reading: they let go of them first.
    if (avi)
        releaseFilesForRewrap();
    KeptAsset& kept = keptAsset();
    const QList<FileStamp> stamps = avi ? QList<FileStamp>{} : stampsOf(entry);
    if (!avi && kept.asset && kept.url == entry.url && kept.composition == composition &&
        kept.files == stamps) {
        currentAsset = kept.asset;
        return kept.asset;
    }
    std::shared_ptr<Asset> asset = composition ? makeChannelComposition(entry.url) : nullptr;
    if (!asset) {
        if (avi)
            asset = assetForAviFile(entry.url);
        else
            asset = Asset::assetWithUrl(entry.url);
    }
    // A file that cannot be read (empty, damaged, gone) has no picture to play.
    if (asset && asset->tracksWithMediaType(MediaType::Video).isEmpty())
        asset = nullptr;
    kept = KeptAsset{};
    if (!avi && asset)
        kept = KeptAsset{entry.url, composition, stamps, asset};
    currentAsset = asset;
    return asset;
}

void RecordingPlayback::getUserData(const QString& path) {
    ::getUserData(path, reader());
}

void RecordingPlayback::alertCannotPlay(const QUrl& url) {
    const QString message = QStringLiteral("FilePath : ") + url.toString();
    if (m_hooks.alert)
        m_hooks.alert(QStringLiteral("Can't Play File"), message);
    else if (const auto& environment = channelCompositionEnvironment(); environment.alert)
        environment.alert(QStringLiteral("Can't Play File"), message);
    else
        showAlert(QStringLiteral("Can't Play File"), message);
}

ChannelSync& RecordingPlayback::channelSync() {
    if (!m_channelSync)
        m_channelSync = new ChannelSync(this);
    return *m_channelSync;
}

bool RecordingPlayback::loadChannel(int trackIndex, const std::shared_ptr<Asset>& asset, SoundTrack sound,
                                    float level, bool continuously, bool start, bool printErrors,
                                    int playerIndex) {
    if (!asset)
        return false;
    const auto videoTracks = asset->tracksWithMediaType(MediaType::Video);
    const int shownBy = playerIndex < 0 ? trackIndex : playerIndex;
    if (trackIndex < 0 || trackIndex >= videoTracks.size() || shownBy >= players.size())
        return false;

    channelSync().reset();
    for (Player* player : std::as_const(players)) {
        player->pause();
        player->replaceCurrentItemWithPlayerItem(nullptr);
    }
    const auto soundTrack = soundTrackOf(asset, sound);
    if (printErrors && lastPlayTime && lastPlayTime->timescale() > 0)
        print(QStringLiteral("currentSec - %1").arg(lastPlayTime->value() / lastPlayTime->timescale()));
    if (printErrors && !soundTrack) {
        print(QStringLiteral("nil soundTrack"));
        print(QStringLiteral("current track : \n") + asset->description());
    }
    auto composition = channelComposition(asset, videoTracks.at(trackIndex), soundTrack, printErrors);

    orvoPlayer = players.at(shownBy);
    orvoPlayer->replaceCurrentItemWithPlayerItem(PlayerItem::playerItemWithAsset(composition));
    orvoPlayer->setVolume(level);
    orvoPlayer->setMuted(isMuted);
    if (continuously && lastPlayTime)
        orvoPlayer->seekToTime(*lastPlayTime);
    orvoPlayer->setActionAtItemEnd(Player::ActionAtItemEnd::Pause);
    observeEndOfItem();
    channelSync().setPlayers(players);
    channelSync().setLeader(orvoPlayer);
    if (start)
        orvoPlayer->play();
    return true;
}

void RecordingPlayback::loadAllChannels(const std::shared_ptr<Asset>& asset, int soundChannel, float level,
                                        bool continuously, double startRate) {
    channelSync().reset();
    for (Player* player : std::as_const(players)) {
        player->pause();
        player->replaceCurrentItemWithPlayerItem(nullptr);
    }
    if (!asset)
        return;
    const auto videoTracks = asset->tracksWithMediaType(MediaType::Video);
    const auto soundTrack = soundTrackOf(asset, SoundTrack::Last);
    for (qsizetype i = 0; i < videoTracks.size() && i < players.size(); ++i) {
        auto composition =
            channelComposition(asset, videoTracks.at(i), i == soundChannel ? soundTrack : nullptr, false);
        Player* player = players.at(i);
        player->replaceCurrentItemWithPlayerItem(PlayerItem::playerItemWithAsset(composition));
        player->setVolume(level);
        player->setMuted(isMuted);
    }
    if (soundChannel < 0 || soundChannel >= players.size())
        return;
    orvoPlayer = players.at(soundChannel);
    orvoPlayer->setActionAtItemEnd(Player::ActionAtItemEnd::Pause);
    observeEndOfItem();

    // Every channel starts from the same frame at the same moment: a
    // coordinated exact seek, then one start for all of them.
    ChannelSync& sync = channelSync();
    sync.setPlayers(players);
    sync.setLeader(orvoPlayer);
    sync.seekAll(continuously && lastPlayTime ? *lastPlayTime : MediaTime::zero(), startRate);
}

void RecordingPlayback::unload() {
    channelSync().reset();
    if (m_endObserver)
        NotificationCenter::defaultCenter().removeObserver(m_endObserver);
    m_endObserver = 0;
    orvoPlayer = nullptr;
    for (Player* player : std::as_const(players)) {
        player->pause();
        player->replaceCurrentItemWithPlayerItem(nullptr);
    }
}

void RecordingPlayback::observeEndOfItem() {
    NotificationCenter& center = NotificationCenter::defaultCenter();
    if (m_endObserver)
        center.removeObserver(m_endObserver);
    m_endObserver = 0;
    if (!orvoPlayer || !orvoPlayer->currentItem())
        return;
    m_endObserver = center.addObserver(this, PlayerItem::DidPlayToEndTimeNotification,
                                       orvoPlayer->currentItem().get(), [this](const Notification&) {
                                           if (m_hooks.didPlayToEnd)
                                               m_hooks.didPlayToEnd();
                                       });
}

void RecordingPlayback::pause() {
    channelSync().pauseAll();
    for (Player* player : std::as_const(players))
        player->pause();
}

void RecordingPlayback::resume(double rate, bool allChannels, int channel) {
    if (allChannels) {
        // All channels start together from the leader's position.
        channelSync().startAll(rate);
        return;
    }
    if (channel >= 0 && channel < players.size())
        players[channel]->playImmediatelyAtRate(rate);
}

void RecordingPlayback::seek(const MediaTime& time) {
    // Every channel lands on the same frame and goes on as it was (playing or paused).
    channelSync().seekAllKeepingState(time);
}

void RecordingPlayback::storePosition() {
    if (!orvoPlayer || !orvoPlayer->currentItem())
        return;
    const MediaTime shown = orvoPlayer->presentedTime();
    if (shown.isNumeric())
        lastPlayTime = shown;
}

bool RecordingPlayback::position(double& current, double& total) const {
    if (!orvoPlayer || !orvoPlayer->currentItem())
        return false;
    const std::shared_ptr<PlayerItem> item = orvoPlayer->currentItem();
    current = item->currentTime().seconds();
    const double duration = item->duration().seconds();
    total = std::isfinite(duration) && duration > 0.0 ? duration : 0.0;
    return std::isfinite(current);
}

void RecordingPlayback::setRate(double rate) {
    for (Player* player : std::as_const(players))
        player->setRate(rate);
}

void RecordingPlayback::setVolume(float level, int soundChannel, bool muted) {
    for (int i = 0; i < players.size(); ++i) {
        players[i]->setVolume(level);
        players[i]->setMuted(!(i == soundChannel && !muted));
    }
}

void RecordingPlayback::setMuted(bool muted) {
    if (orvoPlayer)
        orvoPlayer->setMuted(muted);
}
