#pragma once

#include "metadata/orvoTableModel.h"
#include "platform/media/MediaTime.h"
#include "platform/system/NotificationCenter.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <functional>
#include <memory>

class Asset;
class ChannelSync;
class FFmpeg;
class Player;

// The media side of playing one recording, shared by the window player (four
// channel players) and the full-screen player (one): the players, their items
// built from the recording's asset, the channel synchronisation, the end of
// an item, and the transport steps that only touch the players. It holds no
// widgets; the screens show the players' pictures and keep their own controls
// and the shared player state in step. Main thread.
class RecordingPlayback : public QObject {
    Q_OBJECT

public:
    struct Hooks {
        // The end of orvoPlayer's item (delivered for that item only).
        std::function<void()> didPlayToEnd;
        // The alert of an entry without a playable asset (default: showAlert).
        std::function<void(const QString& title, const QString& message)> alert;
    };

    explicit RecordingPlayback(QObject* parent = nullptr);
    ~RecordingPlayback() override;

    Hooks& hooks() { return m_hooks; }

    // The channel players, by channel index; owned here.
    QList<Player*> players;
    // The player whose item's end ends the recording and whose position is the
    // recording's: the shown channel's, or the sound channel's when all show.
    QPointer<Player> orvoPlayer;

    // A new player (or one kept from an earlier screen) appended to `players`.
    Player* addPlayer();
    // Empties and pauses every player, takes it from the view showing it and gives it back
    // to the pool of players (see PlayerPool).
    void releasePlayers();

    // --- Assets and metadata ---
    // The asset of an entry: its channel composition (unless `composition` is
    // false), the rewrap of an .avi file, or the file itself; null when none
    // could be made. Sets currentAsset. For an .avi entry every player is
    // unloaded first (the rewrap replaces the files they play).
    std::shared_ptr<Asset> assetForEntry(const orvoTableModel& entry, bool composition = true);
    // The playable asset of an .avi recording (rewrapped into "temp.mov").
    std::shared_ptr<Asset> assetForAviFile(const QUrl& url);
    // The metadata reader (stream counts, HEVC test, first fixes).
    FFmpeg& reader();
    // Parses the file's metadata once into the metadata cache.
    void getUserData(const QString& path);
    // The "Can't Play File" alert for the file of `url`.
    void alertCannotPlay(const QUrl& url);

    // --- Loading ---
    enum class SoundTrack { Last, First };
    // A player plays video track `trackIndex` of `asset` with its sound track,
    // every other player is emptied, and it becomes orvoPlayer: player
    // `trackIndex` (one player per channel), or player `playerIndex` when one
    // is given (one player showing any channel). `continuously` resumes at
    // lastPlayTime. False (nothing changed) when the asset has no such video
    // track or there is no such player.
    bool loadChannel(int trackIndex, const std::shared_ptr<Asset>& asset, SoundTrack sound, float level,
                     bool continuously, bool start, bool printErrors, int playerIndex = -1);
    // Every player plays one video track of `asset`; the sound goes to player
    // `soundChannel`, which becomes orvoPlayer. All start together at
    // `startRate` from the same frame (0: they stay paused there).
    void loadAllChannels(const std::shared_ptr<Asset>& asset, int soundChannel, float level,
                         bool continuously, double startRate);
    // Pauses and empties every player; orvoPlayer goes.
    void unload();

    // --- Transport ---
    // Pauses every player, also a coordinated start or seek still under way.
    void pause();
    // Starts the shown players at `rate`: every one together when `allChannels`,
    // else player `channel` alone.
    void resume(double rate, bool allChannels, int channel);
    // Every player to `time`, each going on as it was (playing or paused).
    void seek(const MediaTime& time);
    // Stores orvoPlayer's position as it shows now in lastPlayTime (a hand-over to
    // the other player starts there rather than at the last tick's).
    void storePosition();
    // orvoPlayer's position and its item's duration in seconds; false without an item.
    bool position(double& current, double& total) const;
    // Every player's rate.
    void setRate(double rate);
    // Every player's volume; only `soundChannel`'s player is heard, and only when not `muted`.
    void setVolume(float volume, int soundChannel, bool muted);
    void setMuted(bool muted);

    ChannelSync& channelSync();

private:
    void observeEndOfItem();
    // Unloads every player and waits (a little) until each has closed its file.
    void releaseFilesForRewrap();
    static constexpr int kRewrapReleaseTimeoutMs = 3000;

    Hooks m_hooks;
    std::unique_ptr<FFmpeg> m_reader;
    QPointer<ChannelSync> m_channelSync;
    NotificationCenter::ObserverToken m_endObserver = 0;
};
