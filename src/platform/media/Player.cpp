#include "platform/media/Player.h"

#include "platform/media/MpvProperties.h"
#include "platform/media/RecordingInput.h"
#include "platform/system/FileManager.h"
#include "platform/system/LogCategories.h"

#include <mpv/client.h>
#include <mpv/render.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPointer>
#include <QThread>
#include <QUrl>
#include <QtDebug>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstring>

namespace P = MpvProperties;

namespace {

QString g_audioOutput;

// The properties every player observes; the reply identifier is the index + 1.
enum Observed {
    TimePos,
    Pause,
    EofReached,
    Seeking,
    CoreIdle,
    PausedForCache,
    Speed,
    DWidth,
    DHeight,
    TrackList
};
struct ObservedProperty {
    const char* name;
    mpv_format format;
};
constexpr ObservedProperty kObserved[] = {
    {P::TimePos, MPV_FORMAT_DOUBLE}, {P::Pause, MPV_FORMAT_FLAG},    {P::EofReached, MPV_FORMAT_FLAG},
    {P::Seeking, MPV_FORMAT_FLAG},   {P::CoreIdle, MPV_FORMAT_FLAG}, {P::PausedForCache, MPV_FORMAT_FLAG},
    {P::Speed, MPV_FORMAT_DOUBLE},   {P::DWidth, MPV_FORMAT_INT64},  {P::DHeight, MPV_FORMAT_INT64},
    {P::TrackList, MPV_FORMAT_NODE},
};

// libmpv refuses to start unless numbers are formatted the C way.
void ensureCNumericLocale() {
    const char* current = std::setlocale(LC_NUMERIC, nullptr);
    if (!current || (std::strcmp(current, "C") != 0 && std::strcmp(current, "C.UTF-8") != 0))
        std::setlocale(LC_NUMERIC, "C");
}

const mpv_node* mapValue(const mpv_node& map, const char* key) {
    if (map.format != MPV_FORMAT_NODE_MAP || !map.u.list)
        return nullptr;
    for (int i = 0; i < map.u.list->num; ++i)
        if (std::strcmp(map.u.list->keys[i], key) == 0)
            return &map.u.list->values[i];
    return nullptr;
}

qint64 intValue(const mpv_node* node, qint64 fallback = -1) {
    return node && node->format == MPV_FORMAT_INT64 ? node->u.int64 : fallback;
}

bool flagValue(const mpv_node* node) {
    return node && node->format == MPV_FORMAT_FLAG && node->u.flag;
}

QString stringValue(const mpv_node* node) {
    return node && node->format == MPV_FORMAT_STRING ? QString::fromUtf8(node->u.string) : QString();
}

} // namespace

// Which file streams feed the picture and the sound of an item.
struct Player::Plan {
    QString mainPath;
    QByteArray vid = P::No;
    QByteArray aid = P::No;
    QString externalAudio;
};

void Player::setAudioOutput(const QString& driver) {
    g_audioOutput = driver;
}

QString Player::audioOutput() {
    if (!g_audioOutput.isEmpty())
        return g_audioOutput;
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return QString::fromLatin1(P::AoNull);
    return QStringLiteral("auto");
}

double Player::mpvVolumeForVolume(float volume) {
    if (!(volume > 0.0f))
        return 0.0;
    return 100.0 * std::cbrt(std::min(1.0, static_cast<double>(volume)));
}

Player::Player(QObject* parent) : QObject(parent) {
    createHandle();
}

Player::Player(std::shared_ptr<PlayerItem> item, QObject* parent) : Player(parent) {
    replaceCurrentItemWithPlayerItem(std::move(item));
}

Player::~Player() {
    m_destroying = true;
    if (m_item && m_item->player() == this)
        setCurrentIn(*m_item, nullptr);
    m_seek = PendingSeek{};
    if (!m_handle)
        return;
    mpv_set_wakeup_callback(m_handle, nullptr, nullptr);
    if (m_client)
        m_client->renderContextRevoked();
    m_client = nullptr;
    freeRenderContext();
    mpv_terminate_destroy(m_handle);
    m_handle = nullptr;
}

void Player::createHandle() {
    ensureCNumericLocale();
    m_handle = mpv_create();
    if (!m_handle) {
        qCWarning(platform::lcPlatform, "Player: libmpv could not be started");
        return;
    }
    const int threads = std::clamp(QThread::idealThreadCount() / 2, 1, 4);
    setOption(P::Vo, P::VoLibmpv);
    setOption(P::Ao, audioOutput().toUtf8());
    setOption(P::AudioFallbackToNull, P::Yes);
    setOption(P::KeepOpen, P::Yes);
    setOption(P::Idle, P::Yes);
    setOption(P::HrSeek, P::Yes);
    setOption(P::VdLavcThreads, QByteArray::number(threads));
    // The software renderer scales each picture on the thread that asks for it: every view has a
    // render thread of its own, and slicing each picture over a pool the size of the machine as
    // well made the views' pictures wait on each other's slices (renders of 30-90 ms at 2.0x,
    // holding up the channel's frames).
    setOption(P::ZimgThreads, "1");
    setOption(P::InputDefaultBindings, P::No);
    setOption(P::InputVoKeyboard, P::No);
    setOption(P::AudioDisplay, P::No);
    setOption(P::Sid, P::No);
    setOption(P::Hwdec, P::No);
    setOption(P::LoadScripts, P::No);
    // libmpv's own scripts (statistics, console, profiles) would each run a Lua thread in every player.
    setOption(P::LoadStatsOverlay, P::No);
    setOption(P::LoadOsdConsole, P::No);
    setOption(P::LoadAutoProfiles, P::No);
    setOption(P::Ytdl, P::No);
    setOption(P::Osc, P::No);
    // Recordings only: libavformat alone reads them (mpv's own playlist, archive and Matroska readers
    // open what a file names), restricted to the camera's containers and to files, and no reference
    // out of a file is followed (RecordingInput.h).
    setOption(P::Demuxer, P::DemuxerLavf);
    setOption(P::AudioDemuxer, P::DemuxerLavf);
    setOption(P::AccessReferences, P::No);
    setOption(P::DemuxerLavfO, QByteArray("format_whitelist=[") + platform::kRecordingFormats +
                                   "],protocol_whitelist=[" + platform::kRecordingProtocols + ']');
    setOption(P::Pause, P::Yes);
    setOption(P::VideoRotate, P::No);
    if (mpv_initialize(m_handle) < 0) {
        qCWarning(platform::lcPlatform, "Player: libmpv could not be initialised");
        mpv_terminate_destroy(m_handle);
        m_handle = nullptr;
        return;
    }
    for (std::size_t i = 0; i < std::size(kObserved); ++i)
        mpv_observe_property(m_handle, i + 1, kObserved[i].name, kObserved[i].format);
    mpv_set_wakeup_callback(
        m_handle, [](void* context) { static_cast<Player*>(context)->queueDrain(); }, this);
}

// Runs on libmpv's threads: only queue the drain onto the main loop.
void Player::queueDrain() {
    // libmpv calls this once per round of news (until the next mpv_wait_event): the time a new
    // position was signalled, however long the main loop takes to get to it.
    m_wakeNs.store(std::chrono::duration_cast<std::chrono::nanoseconds>(
                       std::chrono::steady_clock::now().time_since_epoch())
                       .count(),
                   std::memory_order_relaxed);
    if (m_drainQueued->exchange(true))
        return;
    auto flag = m_drainQueued;
    QMetaObject::invokeMethod(
        this,
        [this, flag] {
            flag->store(false);
            drainEvents();
        },
        Qt::QueuedConnection);
}

void Player::drainEvents() {
    QPointer<Player> guard(this);
    while (guard && m_handle) {
        mpv_event* event = mpv_wait_event(m_handle, 0);
        if (!event || event->event_id == MPV_EVENT_NONE)
            break;
        handleEvent(*event);
    }
}

void Player::handleEvent(const mpv_event& event) {
    switch (event.event_id) {
    case MPV_EVENT_PROPERTY_CHANGE:
        handlePropertyChange(event);
        break;
    case MPV_EVENT_START_FILE: {
        const auto* start = static_cast<const mpv_event_start_file*>(event.data);
        // Only the entry the last loadfile made (known from its reply) is the item's.
        if (m_item && !m_entryStarted && m_entryId >= 0 && start && start->playlist_entry_id == m_entryId)
            m_entryStarted = true;
        break;
    }
    case MPV_EVENT_FILE_LOADED:
        if (m_item && m_entryStarted && !m_fileLoaded)
            onFileLoaded();
        break;
    case MPV_EVENT_END_FILE: {
        const auto* end = static_cast<const mpv_event_end_file*>(event.data);
        if (!end || !m_item || !m_entryStarted || end->playlist_entry_id != m_entryId)
            break;
        if (end->reason == MPV_END_FILE_REASON_ERROR && m_outputReplacedSinceLoad) {
            reloadAfterLostOutput();
            break;
        }
        if (end->reason == MPV_END_FILE_REASON_ERROR || !m_fileLoaded) {
            const QString why = end->reason == MPV_END_FILE_REASON_ERROR
                                    ? QString::fromUtf8(mpv_error_string(end->error))
                                    : QStringLiteral("nothing to play");
            m_entryStarted = false;
            m_fileLoaded = false;
            QPointer<Player> guard(this);
            finishSeek(false);
            if (!guard || !m_item)
                break;
            updateStatus();
            auto item = m_item;
            item->setStatus(PlayerItem::Status::Failed, why);
        } else if (end->reason == MPV_END_FILE_REASON_EOF && !m_endPosted) {
            onEndOfItem();
        }
        break;
    }
    case MPV_EVENT_COMMAND_REPLY:
        if (event.reply_userdata != 0 && event.reply_userdata == m_loadSerial) {
            m_loadSerial = 0;
            const auto* reply = static_cast<const mpv_event_command*>(event.data);
            if (event.error < 0 || !reply) {
                auto item = m_item;
                if (item)
                    item->setStatus(PlayerItem::Status::Failed,
                                    QString::fromUtf8(mpv_error_string(event.error)));
                updateStatus();
            } else {
                m_entryId = intValue(mapValue(reply->result, "playlist_entry_id"));
            }
        } else if (event.reply_userdata != 0 && event.reply_userdata == m_seek.serial) {
            if (event.error < 0)
                finishSeek(false);
            else
                m_seek.replied = true;
        }
        break;
    case MPV_EVENT_SET_PROPERTY_REPLY:
        if (event.reply_userdata != 0 && event.reply_userdata == m_resumeSerial) {
            m_resumeSerial = 0;
            if (!m_paused)
                checkEndReached();
        }
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        if (m_seek.issued && m_seek.replied) {
            double position = 0.0;
            if (mpv_get_property(m_handle, P::TimePos, MPV_FORMAT_DOUBLE, &position) >= 0)
                m_timePos = std::clamp(position, 0.0, std::max(0.0, durationSeconds()));
            else
                m_timePos = m_seek.seconds;
            finishSeek(true);
        }
        break;
    default:
        break;
    }
}

void Player::handlePropertyChange(const mpv_event& event) {
    const auto* property = static_cast<const mpv_event_property*>(event.data);
    if (!property || event.reply_userdata == 0 || event.reply_userdata > std::size(kObserved))
        return;
    const auto which = static_cast<Observed>(event.reply_userdata - 1);
    const bool has = property->format != MPV_FORMAT_NONE && property->data;
    const bool flag = has && property->format == MPV_FORMAT_FLAG && *static_cast<int*>(property->data) != 0;
    const double number =
        has && property->format == MPV_FORMAT_DOUBLE ? *static_cast<double*>(property->data) : 0.0;
    const qint64 integer =
        has && property->format == MPV_FORMAT_INT64 ? *static_cast<int64_t*>(property->data) : 0;

    switch (which) {
    case TimePos:
        // A position reported while a seek is on its way is the old one.
        if (has && m_fileLoaded && m_seek.serial == 0 && !m_endPosted) {
            m_timePos = std::clamp(number, 0.0, std::max(0.0, durationSeconds()));
            m_signalledPos = m_timePos;
            m_signalledNs = m_wakeNs.load(std::memory_order_relaxed);
        }
        break;
    case Pause:
        if (m_paused != flag) {
            m_paused = flag;
            updateStatus();
            emit rateChanged();
        }
        if (flag)
            checkEndReached();
        break;
    case EofReached:
        m_eofReached = flag;
        if (flag && m_fileLoaded && !m_endPosted) {
            if (m_seek.issued && m_seek.replied) {
                m_timePos = durationSeconds();
                QPointer<Player> guard(this);
                finishSeek(true); // the completion may drop this player
                if (!guard)
                    return;
            }
            onEndOfItem();
        } else if (!flag) {
            m_endPosted = false;
        }
        break;
    case Seeking:
        m_seeking = flag;
        updateStatus();
        break;
    case CoreIdle:
        m_coreIdle = flag;
        updateStatus();
        break;
    case PausedForCache:
        m_pausedForCache = flag;
        updateStatus();
        break;
    case Speed:
        if (has && number > 0 && number != m_speed) {
            m_speed = number;
            emit rateChanged();
        }
        break;
    case DWidth:
    case DHeight:
        (which == DWidth ? m_dwidth : m_dheight) = has ? integer : 0;
        if (m_item && m_dwidth > 0 && m_dheight > 0)
            m_item->setPresentationSize(QSize(static_cast<int>(m_dwidth), static_cast<int>(m_dheight)));
        break;
    case TrackList:
        if (has && property->format == MPV_FORMAT_NODE)
            onTrackList(property->data);
        break;
    }
}

void Player::onFileLoaded() {
    m_fileLoaded = true;
    auto item = m_item;
    if (m_seek.serial != 0 && !m_seek.issued)
        issueSeek();
    updateStatus();
    item->setStatus(PlayerItem::Status::ReadyToPlay);
}

// libmpv pauses by itself at the end of the file (keep-open), but tells of "eof-reached" only
// when "core-idle" changes with it. A seek to the end while paused leaves the core idle, so a
// start from there reaches the end and pauses again, with nothing said (the pause may even
// look unchanged): the end is asked for here.
void Player::checkEndReached() {
    if (!m_handle || !m_item || !m_fileLoaded || m_endPosted || m_seek.serial != 0)
        return;
    int eof = 0;
    if (mpv_get_property(m_handle, P::EofReached, MPV_FORMAT_FLAG, &eof) < 0 || !eof)
        return;
    m_eofReached = true;
    onEndOfItem();
}

void Player::onEndOfItem() {
    m_endPosted = true;
    m_timePos = durationSeconds();
    if (m_actionAtItemEnd == ActionAtItemEnd::Pause && !m_paused) {
        m_paused = true;
        emit rateChanged();
    }
    updateStatus();
    // The observers may replace or drop the item: keep it alive while they run.
    if (auto item = m_item)
        item->postDidPlayToEndTime();
}

// Makes sure the streams libmpv selected are the ones the item names (libmpv numbers tracks
// per type; a file with an unusual stream may shift the numbers worked out beforehand).
void Player::onTrackList(const void* data) {
    const auto* list = static_cast<const mpv_node*>(data);
    if (!m_item || !list || list->format != MPV_FORMAT_NODE_ARRAY || !list->u.list)
        return;
    QByteArray vid = P::No, aid = P::No;
    const bool audioExternal = !m_audioPath.isEmpty() && m_audioPath != m_videoPath && !m_videoPath.isEmpty();
    for (int i = 0; i < list->u.list->num; ++i) {
        const mpv_node& track = list->u.list->values[i];
        const QString type = stringValue(mapValue(track, P::TrackType));
        const qint64 id = intValue(mapValue(track, P::TrackId));
        const qint64 ffIndex = intValue(mapValue(track, P::TrackFfIndex));
        const bool external = flagValue(mapValue(track, P::TrackExternal));
        if (id < 0)
            continue;
        if (type == QLatin1String(P::TrackTypeVideo) && !external && m_videoStream >= 0 &&
            ffIndex == m_videoStream)
            vid = QByteArray::number(id);
        if (type == QLatin1String(P::TrackTypeAudio) && m_audioStream >= 0 && ffIndex == m_audioStream) {
            if (!audioExternal && !external)
                aid = QByteArray::number(id);
            else if (audioExternal && external) {
                // libmpv hands back the bytes it was given; a name that is not UTF-8 stays comparable.
                const mpv_node* filename = mapValue(track, P::TrackExternalFilename);
                const QString name = filename && filename->format == MPV_FORMAT_STRING
                                         ? FileManager::stringWithFileSystemRepresentation(filename->u.string)
                                         : QString();
                if (name == m_audioPath || QUrl::fromUserInput(name).toLocalFile() == m_audioPath)
                    aid = QByteArray::number(id);
            }
        }
    }
    if (m_videoStream >= 0 && vid != P::No && vid != m_vid) {
        m_vid = vid;
        setPropertyAsync(P::Vid, vid);
    }
    if (m_audioStream >= 0 && aid != P::No && aid != m_aid) {
        m_aid = aid;
        setPropertyAsync(P::Aid, aid);
    }
}

void Player::updateStatus() {
    TimeControlStatus status = TimeControlStatus::Playing;
    if (m_paused)
        status = TimeControlStatus::Paused;
    else if (!m_item || !m_fileLoaded || m_seeking || m_coreIdle || m_pausedForCache)
        status = TimeControlStatus::WaitingToPlayAtSpecifiedRate;
    if (status == m_status)
        return;
    m_status = status;
    emit timeControlStatusChanged();
}

void Player::setCurrentIn(PlayerItem& item, Player* player) {
    item.m_player = player;
    item.m_playerAlive = player;
    item.m_playerTime =
        player ? std::function<MediaTime()>([player] { return player->currentTime(); }) : nullptr;
}

void Player::replaceCurrentItemWithPlayerItem(std::shared_ptr<PlayerItem> item) {
    if (item == m_item)
        return;
    finishSeek(false);
    if (m_item && m_item->player() == this)
        setCurrentIn(*m_item, nullptr);
    if (item && item->player() && item->player() != this)
        item->player()->replaceCurrentItemWithPlayerItem(nullptr);

    m_item = std::move(item);
    m_loadSerial = 0;
    m_entryId = -1;
    m_entryStarted = false;
    m_fileLoaded = false;
    m_endPosted = false;
    m_eofReached = false;
    m_resumeSerial = 0;
    m_timePos = 0.0;
    m_dwidth = m_dheight = 0;
    m_vid = m_aid = P::No;
    m_videoPath.clear();
    m_audioPath.clear();
    m_videoStream = m_audioStream = -1;

    const auto finish = [this] {
        updateStatus();
        emit currentItemChanged();
    };
    if (!m_item || !m_handle) {
        if (m_handle)
            commandAsync({P::Stop});
        if (m_item)
            m_item->setStatus(PlayerItem::Status::Failed, QStringLiteral("libmpv could not be started"));
        finish();
        return;
    }
    setCurrentIn(*m_item, this);
    m_item->setStatus(PlayerItem::Status::Unknown);

    const auto asset = m_item->asset();
    const auto video = asset ? asset->playbackVideoTrack() : nullptr;
    const auto audio = asset ? asset->playbackAudioTrack() : nullptr;
    if (!video && !audio) {
        commandAsync({P::Stop});
        m_item->setStatus(PlayerItem::Status::Failed, QStringLiteral("The asset has no track to play."));
        finish();
        return;
    }

    Plan plan;
    plan.mainPath = video ? video->sourcePath() : audio->sourcePath();
    if (video) {
        m_videoPath = video->sourcePath();
        m_videoStream = video->streamIndex();
        plan.vid = QByteArray::number(video->typeOrdinal() + 1);
    }
    if (audio) {
        m_audioPath = audio->sourcePath();
        m_audioStream = audio->streamIndex();
        if (audio->sourcePath() == plan.mainPath) {
            plan.aid = QByteArray::number(audio->typeOrdinal() + 1);
        } else {
            // An added sound file's tracks come after the main file's own sound tracks.
            const auto main = Asset::assetWithUrl(FileManager::fileURLWithPath(plan.mainPath));
            const auto ownSound = main->tracksWithMediaType(MediaType::Audio).size();
            plan.aid = QByteArray::number(static_cast<qint64>(ownSound) + audio->typeOrdinal() + 1);
            plan.externalAudio = audio->sourcePath();
        }
    }
    m_vid = plan.vid;
    m_aid = plan.aid;
    m_mainPath = plan.mainPath;
    m_externalAudio = plan.externalAudio;
    m_outputReplacedSinceLoad = false;
    // Shown by no view, the player draws for itself (libmpv opens no video output without a
    // render context).
    createHeadlessRenderer();
    issueLoad();
    finish();
}

void Player::issueLoad() {
    // loadfile with named arguments; per-file options as a map of strings.
    QList<QByteArray> keys{P::Vid, P::Aid};
    QList<QByteArray> values{m_vid, m_aid};
    if (!m_externalAudio.isEmpty()) {
        keys.append(P::AudioFilesAppend);
        values.append(FileManager::fileSystemRepresentation(m_externalAudio));
    }
    std::vector<mpv_node> optionValues(keys.size());
    std::vector<char*> optionKeys(keys.size());
    for (qsizetype i = 0; i < keys.size(); ++i) {
        optionValues[i].format = MPV_FORMAT_STRING;
        optionValues[i].u.string = values[i].data();
        optionKeys[i] = keys[i].data();
    }
    mpv_node_list optionList{static_cast<int>(keys.size()), optionValues.data(), optionKeys.data()};

    // libmpv opens the path's own bytes, also those of a name that is not UTF-8.
    QByteArray name = P::LoadFile, url = FileManager::fileSystemRepresentation(m_mainPath),
               flags = P::FlagsReplace;
    mpv_node args[4];
    args[0].format = args[1].format = args[2].format = MPV_FORMAT_STRING;
    args[0].u.string = name.data();
    args[1].u.string = url.data();
    args[2].u.string = flags.data();
    args[3].format = MPV_FORMAT_NODE_MAP;
    args[3].u.list = &optionList;
    char* argKeys[4] = {const_cast<char*>(P::CommandName), const_cast<char*>(P::ArgUrl),
                        const_cast<char*>(P::ArgFlags), const_cast<char*>(P::ArgOptions)};
    mpv_node_list argList{4, args, argKeys};
    mpv_node command;
    command.format = MPV_FORMAT_NODE_MAP;
    command.u.list = &argList;

    // Asynchronous like every other request, so that it keeps its place among them.
    m_loadSerial = m_nextSerial++;
    const int rc = mpv_command_node_async(m_handle, m_loadSerial, &command);
    if (rc < 0) {
        m_loadSerial = 0;
        m_item->setStatus(PlayerItem::Status::Failed, QString::fromUtf8(mpv_error_string(rc)));
    }
}

// Between freeing one render context and making the next, libmpv has none: a video output it
// sets up then fails, and with no sound started yet (or none at all) it drops the file. The
// file is opened once more, at the position reached, keeping a seek that was waiting for it.
void Player::reloadAfterLostOutput() {
    m_outputReplacedSinceLoad = false;
    const bool wasLoaded = m_fileLoaded;
    m_loadSerial = 0;
    m_entryId = -1;
    m_entryStarted = false;
    m_fileLoaded = false;
    m_endPosted = false;
    m_eofReached = false;
    if (wasLoaded && m_seek.serial == 0 && m_timePos > 0.0) {
        m_seek = PendingSeek{};
        m_seek.seconds = m_timePos;
        m_seek.serial = m_nextSerial++;
    } else if (m_seek.issued) {
        m_seek.issued = m_seek.replied = false;
    }
    updateStatus();
    issueLoad();
}

bool Player::isStopped() const {
    int idle = 1;
    return !m_handle ||
           (!m_item && mpv_get_property(m_handle, P::IdleActive, MPV_FORMAT_FLAG, &idle) >= 0 && idle != 0);
}

bool Player::waitUntilStopped(int timeoutMs) const {
    if (m_item)
        return false;
    QElapsedTimer clock;
    clock.start();
    while (!isStopped()) {
        if (clock.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(2);
    }
    return true;
}

void Player::play() {
    setRate(1.0);
}

void Player::pause() {
    setRate(0.0);
}

void Player::playImmediatelyAtRate(double rate) {
    setRate(rate);
}

double Player::rate() const {
    return m_paused ? 0.0 : m_speed;
}

void Player::setRate(double rate) {
    if (!m_handle)
        return;
    if (!(rate > 0.0)) {
        setPausedLocally(true);
        return;
    }
    rate = std::clamp(rate, 0.01, 100.0);
    const bool changed = rate != m_speed;
    if (changed) {
        m_speed = rate;
        setDoubleAsync(P::Speed, rate);
    }
    if (m_paused)
        setPausedLocally(false);
    else if (changed)
        emit rateChanged();
}

void Player::setPausedLocally(bool paused) {
    if (paused) {
        m_resumeSerial = 0;
        setFlagAsync(P::Pause, true);
    } else if (m_handle) {
        // Started at the end of the file, libmpv pauses again at once, which may come
        // too soon for the pause to be seen changing: the end is looked for once it has started.
        m_resumeSerial = m_nextSerial++;
        int flag = 0;
        mpv_set_property_async(m_handle, m_resumeSerial, P::Pause, MPV_FORMAT_FLAG, &flag);
    }
    if (m_paused == paused)
        return;
    m_paused = paused;
    updateStatus();
    emit rateChanged();
}

double Player::durationSeconds() const {
    if (!m_item || !m_item->asset())
        return 0.0;
    const double seconds = m_item->asset()->duration().seconds();
    return std::isfinite(seconds) ? seconds : 0.0;
}

MediaTime Player::currentTime() const {
    if (!m_item)
        return MediaTime::zero();
    return MediaTime::makeWithSeconds(m_timePos, 1000000);
}

double Player::demuxerStartTime() const {
    double start = 0.0;
    if (!m_handle || !m_item || !m_fileLoaded ||
        mpv_get_property(m_handle, P::DemuxerStartTime, MPV_FORMAT_DOUBLE, &start) < 0 ||
        !std::isfinite(start))
        return 0.0;
    return start;
}

MediaTime Player::presentedTime() const {
    double position = 0.0;
    if (!m_handle || !m_item || !m_fileLoaded || m_seek.serial != 0 || m_endPosted ||
        mpv_get_property(m_handle, P::TimePos, MPV_FORMAT_DOUBLE, &position) < 0 || !std::isfinite(position))
        return currentTime();
    return MediaTime::makeWithSeconds(std::clamp(position, 0.0, std::max(0.0, durationSeconds())), 1000000);
}

void Player::seekToTime(const MediaTime& time, SeekCompletion completion) {
    const double seconds = time.seconds();
    if (!m_handle || !m_item || m_item->status() == PlayerItem::Status::Failed || std::isnan(seconds)) {
        if (completion)
            completion(false);
        return;
    }
    finishSeek(false);
    const double duration = durationSeconds();
    m_seek = PendingSeek{};
    m_seek.seconds = std::clamp(seconds, 0.0, duration > 0.0 ? duration : std::max(0.0, seconds));
    m_seek.completion = std::move(completion);
    m_seek.serial = m_nextSerial++;
    m_timePos = m_seek.seconds;
    if (m_fileLoaded)
        issueSeek();
}

void Player::issueSeek() {
    m_seek.issued = true;
    const QByteArray target = QByteArray::number(m_seek.seconds, 'f', 6);
    commandAsync({P::Seek, target.constData(), P::SeekAbsoluteExact}, m_seek.serial);
}

void Player::finishSeek(bool finished) {
    if (m_seek.serial == 0)
        return;
    SeekCompletion completion = std::move(m_seek.completion);
    m_seek = PendingSeek{};
    if (completion)
        completion(finished);
}

void Player::setVolume(float volume) {
    m_volume = std::isnan(volume) ? 0.0f : std::clamp(volume, 0.0f, 1.0f);
    setDoubleAsync(P::Volume, mpvVolumeForVolume(m_volume));
}

void Player::setMuted(bool muted) {
    m_muted = muted;
    setFlagAsync(P::Mute, muted);
}

void Player::setActionAtItemEnd(ActionAtItemEnd action) {
    m_actionAtItemEnd = action;
    setFlagAsync(P::KeepOpenPause, action == ActionAtItemEnd::Pause);
}

void Player::setMonochrome(bool on) {
    m_monochrome = on;
    applyMonochrome();
}

// OpenGL output greys by saturation; the software renderer ignores that, so there a
// greyscale video filter is switched on instead.
void Player::applyMonochrome() {
    if (!m_handle)
        return;
    const bool useFilter = m_softwareRendering && m_monochrome;
    if (useFilter && !m_grayFilterAdded) {
        commandAsync({P::Vf, P::VfAdd, P::GrayFilterDisabled});
        m_grayFilterAdded = true;
        m_grayFilterOn = false;
    }
    if (m_grayFilterAdded && m_grayFilterOn != useFilter) {
        commandAsync({P::Vf, P::VfToggle, P::GrayFilterLabel});
        m_grayFilterOn = useFilter;
    }
    setPropertyAsync(P::Saturation, (!m_softwareRendering && m_monochrome) ? "-100" : "0");
}

void Player::setVideoMagnification(double magnification, double panX, double panY) {
    if (!m_handle)
        return;
    magnification = std::isfinite(magnification) && magnification > 0.0 ? magnification : 1.0;
    setDoubleAsync(P::VideoZoom, std::log2(magnification));
    setDoubleAsync(P::VideoPanX, std::isfinite(panX) ? panX : 0.0);
    setDoubleAsync(P::VideoPanY, std::isfinite(panY) ? panY : 0.0);
}

void Player::setOption(const char* name, const QByteArray& value) {
    if (mpv_set_option_string(m_handle, name, value.constData()) < 0)
        qCWarning(platform::lcPlatform, "Player: libmpv refused %s=%s", name, value.constData());
}

void Player::setPropertyAsync(const char* name, const QByteArray& value) {
    if (!m_handle)
        return;
    QByteArray copy = value;
    char* data = copy.data();
    mpv_set_property_async(m_handle, 0, name, MPV_FORMAT_STRING, &data);
}

void Player::setFlagAsync(const char* name, bool value) {
    if (!m_handle)
        return;
    int flag = value ? 1 : 0;
    mpv_set_property_async(m_handle, 0, name, MPV_FORMAT_FLAG, &flag);
}

void Player::setDoubleAsync(const char* name, double value) {
    if (!m_handle)
        return;
    mpv_set_property_async(m_handle, 0, name, MPV_FORMAT_DOUBLE, &value);
}

void Player::commandAsync(std::initializer_list<const char*> args, quint64 userdata) {
    if (!m_handle)
        return;
    std::vector<const char*> list(args);
    list.push_back(nullptr);
    mpv_command_async(m_handle, userdata, list.data());
}
