// The window player's main road: from an entry of displayedRecordingList to
// running channel players, stopping, the end of a recording and the previous
// and next recordings.

#include "OrvoViewController.h"

#include "ChannelComposition.h"
#include "ChannelSync.h"
#include "DefaultImgBtnCell.h"
#include "MapPage.h"
#include "OrvoGraphChartView.h"
#include "OrvoImgBtnCell.h"
#include "OrvoLineChartView.h"
#include "OrvoSliderCell.h"
#include "OrvoVerticalAlignText.h"
#include "PlayerState.h"
#include "VolumeSliderCell.h"
#include "showAlert.h"

#include "metadata/FFmpeg.h"
#include "metadata/PacketCache.h"
#include "platform/MutableComposition.h"
#include "platform/Player.h"
#include "platform/PlayerItem.h"
#include "platform/WebView.h"

#include <QAbstractItemModel>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>

#include <cstdio>

namespace {

void print(const QString& text) {
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

// The channel index of a single-channel mode; -1 for the others.
int channelIndex(mode m) {
    switch (m) {
    case mode::ch1:
        return 0;
    case mode::ch2:
        return 1;
    case mode::ch3:
        return 2;
    case mode::ch4:
        return 3;
    default:
        return -1;
    }
}

// The player that carries the sound in `m`; -1 for none_ch.
int soundChannel(mode m) {
    if (m == mode::multiple_ch)
        return 0;
    return channelIndex(m);
}

QString lastPathComponent(const QUrl& url) {
    return QFileInfo(url.path()).fileName();
}

float sliderVolume(const QPointer<VolumeSliderCell>& slider) {
    return slider ? static_cast<float>(slider->doubleValue() / 100.0) : volume;
}

void setTableRowColor(QTableView* table, qint64 row, const QColor& color) {
    QAbstractItemModel* model = table ? table->model() : nullptr;
    if (!model || row < 0 || row >= model->rowCount())
        return;
    for (int column = 0; column < model->columnCount(); ++column) {
        const QModelIndex index = model->index(static_cast<int>(row), column);
        model->setData(index, color.alpha() == 0 ? QVariant() : QVariant(QBrush(color)), Qt::BackgroundRole);
        table->update(index);
    }
}

// The alert of an entry without an asset.
void alertCannotPlay(const QUrl& url) {
    auto& environment = channelCompositionEnvironment();
    const QString message = QStringLiteral("FilePath : ") + url.toString();
    if (environment.alert)
        environment.alert(QStringLiteral("Can't Play File"), message);
    else
        showAlert(QStringLiteral("Can't Play File"), message);
}

} // namespace

QString OrvoViewController::recordingDisplayName(mode channelMode, const orvoTableModel& entry) {
    switch (channelMode) {
    case mode::ch1:
        return lastPathComponent(entry.url);
    case mode::ch2:
        if (entry.row.merge)
            return lastPathComponent(*entry.row.merge);
        if (entry.row.merge2)
            return lastPathComponent(*entry.row.merge2);
        return lastPathComponent(entry.url);
    case mode::ch3:
        return lastPathComponent(entry.row.merge2 ? *entry.row.merge2 : entry.url);
    default:
        return QString();
    }
}

std::shared_ptr<Asset> OrvoViewController::assetForAviFile(const QUrl& url) {
    print(QStringLiteral("itemPath - ") + url.path());
    if (!m_playbackReader)
        m_playbackReader = std::make_shared<FFmpeg>();
    const bool hevc = m_playbackReader->isH265(url.isLocalFile() ? url.toLocalFile() : url.path());
    return aviToMov(url, hevc);
}

std::shared_ptr<Asset> OrvoViewController::assetForEntry(const orvoTableModel& entry) {
    std::shared_ptr<Asset> asset = makeChannelComposition(entry.url);
    if (!asset) {
        if (QFileInfo(entry.url.path()).suffix().toLower() == QLatin1String("avi"))
            asset = assetForAviFile(entry.url);
        else
            asset = Asset::assetWithUrl(entry.url);
    }
    currentAsset = asset;
    return asset;
}

void OrvoViewController::getUserData(const QString& path) {
    if (!m_playbackReader)
        m_playbackReader = std::make_shared<FFmpeg>();
    ::getUserData(path, *m_playbackReader);
}

ChannelSync& OrvoViewController::channelSync() {
    if (!m_channelSync)
        m_channelSync = new ChannelSync(this);
    return *m_channelSync;
}

void OrvoViewController::highlightPlayingRow(qint64 row) {
    QTableView* table = orvoTableView;
    const qint64 rows = table && table->model() ? table->model()->rowCount() : 0;
    if (selectedRow && *selectedRow >= 0 && *selectedRow < rows)
        setTableRowColor(table, *selectedRow, Qt::transparent);
    if (row >= 0 && row < rows) {
        setTableRowColor(table, row, QColor(255, 128, 0)); // the platform's orange
        if (QItemSelectionModel* selection = table->selectionModel())
            selection->select(table->model()->index(static_cast<int>(row), 0),
                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    selectedRow = row;
}

void OrvoViewController::adjustPlayModeToChannelCount() {
    if (channelCount == 1) {
        playMode = mode::ch1;
        return;
    }
    switch (playMode) {
    case mode::ch2:
    case mode::ch3:
    case mode::ch4:
        if (channelIndex(playMode) >= channelCount)
            playMode = mode::ch1;
        break;
    case mode::none_ch:
        playMode = mode::ch1;
        break;
    default:
        break;
    }
}

namespace {

// play(idx:) and ready(idx:): the same road, ready leaves the players paused.
void loadRecording(OrvoViewController& view, const std::shared_ptr<Asset>& asset, qint64 idx,
                   bool continuously, bool readyOnly) {
    channelCount = videoTrackCount(asset);
    currentIndex = idx;
    if (!displayedRecordingList || idx < 0 || idx >= displayedRecordingList->size())
        return;
    const orvoTableModel entry = displayedRecordingList->at(idx);
    if (view.videoContentView)
        view.videoContentView->show();

    const QString path = entry.url.path();
    if (path != view.videoFileName) {
        view.videoFileName = path;
        view.getUserData(entry.url.isLocalFile() ? entry.url.toLocalFile() : path);
        hasGps = false;
        const std::optional<orvoPacketModel> model = packetModelForURL(entry.url);
        if (model) {
            if (!model->packet.isEmpty()) {
                const OrvoVideoPacket& first = model->packet.first();
                hasGps = !first.gps_latitude || *first.gps_latitude != 0.0f || !first.gps_longitude ||
                         *first.gps_longitude != 0.0f;
            }
        }
        if (view.motionChartView)
            view.motionChartView->orvoPacket = model;
        if (view.speedChartView)
            view.speedChartView->orvoPacket = model;
        view.loadMapPage(hasGps);
    }

    if (!readyOnly && view.defaultImgBtn)
        view.defaultImgBtn->hide();

    const bool several = hasMultipleVideoTracks(asset);
    switch (playMode) {
    case mode::ch1:
        view.playChannel(mode::ch1, asset, continuously, readyOnly);
        break;
    case mode::ch2:
    case mode::ch3:
    case mode::ch4:
        if (!several)
            playMode = mode::ch1;
        view.playChannel(playMode, asset, continuously, readyOnly);
        break;
    case mode::multiple_ch:
        if (several) {
            view.playAllChannel(asset, continuously, readyOnly);
        } else {
            playMode = mode::ch1;
            view.playChannel(mode::ch1, asset, continuously, readyOnly);
        }
        break;
    case mode::none_ch:
        return;
    }

    if (!readyOnly)
        view.setPlaySpeed(speedIndex);
    currentIndex = idx;
    if (view.motionChartView)
        view.motionChartView->update();
    if (view.speedChartView)
        view.speedChartView->update();
    if (!readyOnly)
        playState = 1;
}

} // namespace

void OrvoViewController::play(std::shared_ptr<Asset> asset, qint64 idx, bool continuously) {
    loadRecording(*this, asset, idx, continuously, false);
}

void OrvoViewController::ready(std::shared_ptr<Asset> asset, qint64 idx, bool continuously) {
    loadRecording(*this, asset, idx, continuously, true);
}

namespace {

// A new composition of `video` and, when given, `sound`, each over the
// asset's duration from zero.
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

std::shared_ptr<AssetTrack> lastSoundTrack(const std::shared_ptr<Asset>& asset) {
    const auto sounds = asset->tracksWithMediaType(MediaType::Audio);
    return sounds.isEmpty() ? nullptr : sounds.last();
}

} // namespace

void OrvoViewController::playChannel(mode channel, std::shared_ptr<Asset> asset, bool continuously,
                                     bool readyOnly) {
    if (!asset)
        return;
    const auto videoTracks = asset->tracksWithMediaType(MediaType::Video);
    const int trackIndex = channel == mode::multiple_ch ? 4 : channelIndex(channel);
    if (trackIndex < 0 || trackIndex >= videoTracks.size() || trackIndex >= players.size())
        return;

    channelSync().reset();
    for (Player* player : players) {
        player->pause();
        player->replaceCurrentItemWithPlayerItem(nullptr);
    }
    const auto soundTrack = lastSoundTrack(asset);
    if (lastPlayTime && lastPlayTime->timescale() > 0)
        print(QStringLiteral("currentSec - %1").arg(lastPlayTime->value() / lastPlayTime->timescale()));
    if (!soundTrack) {
        print(QStringLiteral("nil soundTrack"));
        print(QStringLiteral("current track : \n") + asset->description());
    }
    auto composition = channelComposition(asset, videoTracks.at(trackIndex), soundTrack, true);

    orvoPlayer = players.at(trackIndex);
    orvoPlayer->replaceCurrentItemWithPlayerItem(PlayerItem::playerItemWithAsset(composition));
    orvoPlayer->setVolume(sliderVolume(volumeSlider));
    orvoPlayer->setMuted(isMuted);
    if (continuously && lastPlayTime)
        orvoPlayer->seekToTime(*lastPlayTime);
    orvoPlayer->setActionAtItemEnd(Player::ActionAtItemEnd::Pause);
    observeEndOfItem();
    channelSync().setLeader(orvoPlayer);

    if (!readyOnly) {
        orvoPlayer->play();
        playState = 1;
        if (playPauseBtn)
            playPauseBtn->setImageName(QStringLiteral("btn_all_pause"));
    }
}

void OrvoViewController::playAllChannel(std::shared_ptr<Asset> asset, bool continuously, bool readyOnly) {
    channelSync().reset();
    for (Player* player : players) {
        player->pause();
        player->replaceCurrentItemWithPlayerItem(nullptr);
    }
    if (!asset)
        return;
    const auto videoTracks = asset->tracksWithMediaType(MediaType::Video);
    const auto soundTrack = lastSoundTrack(asset);
    const int sound = soundChannel(playMode) < 0 ? 0 : soundChannel(playMode);
    const float level = sliderVolume(volumeSlider);

    for (qsizetype i = 0; i < videoTracks.size() && i < players.size(); ++i) {
        auto composition =
            channelComposition(asset, videoTracks.at(i), i == sound ? soundTrack : nullptr, false);
        Player* player = players.at(i);
        player->replaceCurrentItemWithPlayerItem(PlayerItem::playerItemWithAsset(composition));
        player->setVolume(level);
        player->setMuted(isMuted);
    }
    if (sound >= players.size())
        return;
    orvoPlayer = players.at(sound);
    orvoPlayer->setActionAtItemEnd(Player::ActionAtItemEnd::Pause);
    observeEndOfItem();

    // Every channel starts from the same frame at the same moment: a
    // coordinated exact seek, then one start for all of them.
    ChannelSync& sync = channelSync();
    sync.setPlayers(players);
    sync.setLeader(orvoPlayer);
    const MediaTime from = continuously && lastPlayTime ? *lastPlayTime : MediaTime::zero();
    const bool start = !readyOnly && playState != 1;
    sync.seekAll(from, start ? 1.0 : 0.0);
    if (start) {
        playState = 1;
        if (playPauseBtn)
            playPauseBtn->setImageName(QStringLiteral("btn_all_pause"));
    }
}

void OrvoViewController::observeEndOfItem() {
    NotificationCenter& center = NotificationCenter::defaultCenter();
    if (m_endObserver)
        center.removeObserver(m_endObserver);
    m_endObserver = 0;
    if (!orvoPlayer || !orvoPlayer->currentItem())
        return;
    m_endObserver = center.addObserver(
        this, PlayerItem::DidPlayToEndTimeNotification, orvoPlayer->currentItem().get(),
        [this](const Notification& notification) { playerDidFinishPlaying(notification); });
}

void OrvoViewController::playerDidFinishPlaying(const Notification&) {
    if (isRepeatOne) {
        if (currentAsset)
            play(currentAsset, currentIndex, false);
        else
            print(QStringLiteral("nil asset"));
        return;
    }
    playNext();
}

namespace {

enum class Direction { Next, Previous };

void playAdjacent(OrvoViewController& view, Direction direction) {
    if (direction == Direction::Next)
        print(QStringLiteral("playNext"));
    view.stopPlayback();
    zoomIndex = 0;
    view.setZoom(0);
    speedIndex = 1;
    view.setPlaySpeed(1);
    isMono = false;
    view.setMonoFilter(false);
    if (!displayedRecordingList)
        return;
    const qint64 count = displayedRecordingList->size();
    qint64 n = -1;
    if (direction == Direction::Next)
        n = currentIndex == count - 1 ? 0 : currentIndex + 1;
    else
        n = currentIndex == 0 ? count - 1 : currentIndex - 1;
    if (n < 0 || n >= count)
        return;
    const orvoTableModel entry = displayedRecordingList->at(n);
    if (view.videoNameText)
        view.videoNameText->setText(direction == Direction::Previous
                                        ? OrvoViewController::recordingDisplayName(playMode, entry)
                                        : QString());
    const std::shared_ptr<Asset> asset = view.assetForEntry(entry);
    if (!asset) {
        alertCannotPlay(entry.url);
        return;
    }
    view.highlightPlayingRow(n);
    currentRecording = entry;
    channelCount = videoTrackCount(asset);
    view.adjustPlayModeToChannelCount();
    view.applyPlayModeLayout();
    view.updateChannelButtons();
    view.modeBtnsChange(playMode);
    if (direction == Direction::Next && view.videoNameText)
        view.videoNameText->setText(OrvoViewController::recordingDisplayName(playMode, entry));
    view.play(asset, n, false);
}

} // namespace

void OrvoViewController::playNext() {
    playAdjacent(*this, Direction::Next);
}

void OrvoViewController::playPrev() {
    playAdjacent(*this, Direction::Previous);
}

void OrvoViewController::stopPlayback() {
    playState = 0;
    if (videoNameText)
        videoNameText->setText(QString());
    if (defaultImgBtn)
        defaultImgBtn->show();
    if (playPauseBtn)
        playPauseBtn->setImageName(QStringLiteral("btn_all_play"));

    // The data panel goes back to its empty state.
    if (motionChartView) {
        motionChartView->orvoPacket.reset();
        motionChartView->drawChart(QRectF(motionChartView->rect()));
        motionChartView->update();
    }
    if (speedChartView) {
        speedChartView->orvoPacket.reset();
        speedChartView->drawChart(QRectF(speedChartView->rect()));
        speedChartView->update();
    }
    for (LayoutConstraint& constraint : chartIntervalConstraints())
        if (constraint.identifier() == QLatin1String("chartIntervalLeading") && chartIntervalView)
            constraint.setConstant(chartIntervalView->rect().x());
    clearDataPanelTexts();
    if (gpsOnOffImg)
        gpsOnOffImg->setImageName(QStringLiteral("img_gps_off"));
    if (gpsOnOffText)
        gpsOnOffText->setText(QStringLiteral("GPS Off"));
    if (meterImg)
        meterImg->setImageName(QStringLiteral("speed_graph_0"));

    if (videoSlider)
        videoSlider->setDoubleValue(0.0);
    if (videoCurrentText)
        videoCurrentText->setText(QStringLiteral("00:00:00"));
    if (videoTotalText)
        videoTotalText->setText(QStringLiteral("00:00:00"));

    initButtonState();

    channelSync().reset();
    if (m_endObserver)
        NotificationCenter::defaultCenter().removeObserver(m_endObserver);
    m_endObserver = 0;
    orvoPlayer = nullptr;
    for (Player* player : players) {
        player->pause();
        player->replaceCurrentItemWithPlayerItem(nullptr);
    }
    currentAsset = nullptr;
    if (videoContentView)
        videoContentView->hide();
    mapPage().delPos();
}
