#pragma once

#include "platform/media/MediaTime.h"
#include "platform/media/PlayerItem.h"

#include <QObject>
#include <QSize>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

struct mpv_handle;
struct mpv_render_context;
struct mpv_render_param;
struct mpv_event;

// Plays one PlayerItem through its own libmpv handle. Every call returns at once: state is
// read from values libmpv reports on its own (observed properties, cached on the main thread)
// and changes are sent without waiting. A player shown by no PlayerView renders into a small
// buffer of its own, so it keeps its pace; a view takes the rendering over while it shows it.
//
// The rate follows the media framework: 0 while paused, otherwise the playback speed;
// setting a rate above 0 starts playback. At the end of its item the player pauses on the
// last frame and the item posts its end notification once.
class Player : public QObject {
    Q_OBJECT
public:
    enum class TimeControlStatus { Paused, WaitingToPlayAtSpecifiedRate, Playing };
    // What happens when the item ends: pause on the last frame, or stay on it without pausing.
    enum class ActionAtItemEnd { Pause, None };
    using SeekCompletion = std::function<void(bool finished)>;

    // Something that draws the player's pictures through a libmpv render context.
    class RenderClient {
    public:
        virtual ~RenderClient() = default;
        // The player takes the render context back (another view took it, or the player is
        // going away). The client makes its graphics context current if it has one, calls
        // detachRenderClient(this) and forgets the player.
        virtual void renderContextRevoked() = 0;
    };

    explicit Player(QObject* parent = nullptr);
    explicit Player(std::shared_ptr<PlayerItem> item, QObject* parent = nullptr);
    ~Player() override;

    // The audio output driver of players made from now on: "auto" (the default), or "null"
    // where no sound may be heard. Under the "offscreen" Qt platform the default is "null".
    static void setAudioOutput(const QString& driver);
    static QString audioOutput();
    // libmpv's volume (0-100, cubic gain) for a linear volume 0-1.
    static double mpvVolumeForVolume(float volume);

    // False when libmpv could not be started; such a player does nothing.
    bool isValid() const { return m_handle != nullptr; }

    std::shared_ptr<PlayerItem> currentItem() const { return m_item; }
    // Loads `item` (null empties the player). The rate and the pause state carry over.
    void replaceCurrentItemWithPlayerItem(std::shared_ptr<PlayerItem> item);

    // Without an item and with libmpv done with the last one's file (closed, or never
    // opened), so that the file may be replaced.
    bool isStopped() const;
    // Waits up to `timeoutMs` for isStopped() after the item was taken away (blocks the
    // calling thread; libmpv closes the file on its own threads). False when it did not come.
    bool waitUntilStopped(int timeoutMs) const;

    void play();
    void pause();
    // Starts playing at `rate` (0 pauses).
    void playImmediatelyAtRate(double rate);
    // 0 while paused, otherwise the playback speed.
    double rate() const;
    // Above 0: play at that speed (0.01-100); 0 or less: pause.
    void setRate(double rate);
    TimeControlStatus timeControlStatus() const { return m_status; }

    // Moves to `time` exactly (limited to the item's span). `completion` runs on the main
    // thread: true once the picture at that time is shown, false when a later seek or a new
    // item replaced the request, or when there is no item.
    void seekToTime(const MediaTime& time, SeekCompletion completion = {});
    // The position in the current item, between zero and its duration; zero without an item.
    MediaTime currentTime() const;
    // The same in seconds: a cached value, cheap enough to poll for keeping players in step.
    double currentSeconds() const { return m_timePos; }
    // When libmpv told of the position currentSeconds() holds: the steady clock (ns) on libmpv's
    // own thread as it signalled the change, so that a busy main loop does not make the frame look
    // late. 0 for a position set here (a seek, the end, a new item).
    qint64 currentSecondsSignalledNs() const { return m_timePos == m_signalledPos ? m_signalledNs : 0; }
    // Where the current file's positions count from, in its own timestamps (libmpv's
    // "demuxer-start-time"): a position plus this is the shown frame's time in the file.
    // 0 without a loaded item. Asks libmpv, so not for polling.
    double demuxerStartTime() const;
    // The position of the picture shown now, asked of libmpv rather than read from the
    // cache that currentTime() keeps (which may trail a playing picture by a frame); the
    // target while a seek is on its way. Not for polling.
    MediaTime presentedTime() const;

    // Linear volume 0-1.
    float volume() const { return m_volume; }
    void setVolume(float volume);
    bool isMuted() const { return m_muted; }
    void setMuted(bool muted);

    ActionAtItemEnd actionAtItemEnd() const { return m_actionAtItemEnd; }
    void setActionAtItemEnd(ActionAtItemEnd action);

    // Greyscale picture, done the way the current renderer supports.
    bool isMonochrome() const { return m_monochrome; }
    void setMonochrome(bool on);
    // Shows the picture magnified (1 or more) and moved by fractions of its magnified size.
    void setVideoMagnification(double magnification, double panX, double panY);

    // Rendering hand-over for views. attachRenderClient revokes the render context from another
    // client; a software client (`software`) is then handed the software context the player
    // holds, if any, as it is. Otherwise the current context is freed and one made with
    // `params` (terminated by an invalid entry). Null on failure, when the player falls back to
    // rendering on its own. detachRenderClient keeps a software context for the player's own
    // drawing while it has an item and frees it otherwise, as it frees an OpenGL one (an OpenGL
    // client makes its context current first).
    mpv_render_context* attachRenderClient(RenderClient* client, mpv_render_param* params, bool software);
    void detachRenderClient(RenderClient* client);
    bool hasRenderClient() const { return m_client != nullptr; }

    // The libmpv handle, for reading properties in diagnostics and tests.
    mpv_handle* mpvHandle() const { return m_handle; }

signals:
    void currentItemChanged();
    void rateChanged();
    void timeControlStatusChanged();

private:
    // Marks `item` as current in `player` (null: in none), with that player's position as its own.
    static void setCurrentIn(PlayerItem& item, Player* player);
    struct PendingSeek {
        double seconds = 0.0;
        SeekCompletion completion;
        quint64 serial = 0;
        bool issued = false;
        bool replied = false;
    };
    struct Plan;

    void createHandle();
    void queueDrain();
    void drainEvents();
    void handleEvent(const mpv_event& event);
    void handlePropertyChange(const mpv_event& event);
    void onFileLoaded();
    void onEndOfItem();
    void checkEndReached();
    void onTrackList(const void* node);
    void updateStatus();
    void issueSeek();
    void finishSeek(bool finished);
    void setPausedLocally(bool paused);
    void applyMonochrome();
    void setOption(const char* name, const QByteArray& value);
    void setPropertyAsync(const char* name, const QByteArray& value);
    void setFlagAsync(const char* name, bool value);
    void setDoubleAsync(const char* name, double value);
    void commandAsync(std::initializer_list<const char*> args, quint64 userdata = 0);
    void issueLoad();
    void reloadAfterLostOutput();
    void createHeadlessRenderer();
    void drawHeadless();
    void freeRenderContext();
    void renderHeadless();
    void reselectVideo();
    double durationSeconds() const;

    mpv_handle* m_handle = nullptr;
    std::shared_ptr<std::atomic_bool> m_drainQueued = std::make_shared<std::atomic_bool>(false);
    // When libmpv last signalled news (steady clock, ns), set on its thread.
    std::atomic<qint64> m_wakeNs{0};

    std::shared_ptr<PlayerItem> m_item;
    quint64 m_loadSerial = 0; // the loadfile request waiting for its reply
    qint64 m_entryId = -1;    // libmpv's playlist entry of the item; -1 while unknown
    bool m_entryStarted = false;
    bool m_fileLoaded = false;
    bool m_endPosted = false;
    QByteArray m_vid = "no";
    QByteArray m_aid = "no";
    QString m_videoPath;
    int m_videoStream = -1;
    QString m_audioPath;
    int m_audioStream = -1;
    QString m_mainPath;      // the file loadfile opens
    QString m_externalAudio; // a sound file added to it, if any
    // A render context was freed since the item's file was last asked for.
    bool m_outputReplacedSinceLoad = false;

    double m_timePos = 0.0;
    double m_signalledPos = -1.0; // the last position libmpv told of, and when it signalled it
    qint64 m_signalledNs = 0;
    double m_speed = 1.0;
    bool m_paused = true;
    bool m_seeking = false;
    bool m_coreIdle = true;
    bool m_pausedForCache = false;
    bool m_eofReached = false;
    TimeControlStatus m_status = TimeControlStatus::Paused;
    float m_volume = 1.0f;
    bool m_muted = false;
    ActionAtItemEnd m_actionAtItemEnd = ActionAtItemEnd::Pause;
    qint64 m_dwidth = 0;
    qint64 m_dheight = 0;

    quint64 m_resumeSerial = 0; // the request that ended the last pause, until libmpv took it
    PendingSeek m_seek;
    quint64 m_nextSerial = 1;

    bool m_monochrome = false;
    bool m_grayFilterAdded = false;
    bool m_grayFilterOn = false;

    mpv_render_context* m_renderContext = nullptr;
    RenderClient* m_client = nullptr;
    bool m_softwareRendering = true;
    bool m_destroying = false;
    bool m_switchingClient = false;
    std::vector<unsigned char> m_headlessBuffer;
};
