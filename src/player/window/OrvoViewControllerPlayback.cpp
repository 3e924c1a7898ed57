// The window player's main road: from an entry of displayedRecordingList to
// running channel players, stopping, the end of a recording and the previous
// and next recordings.

#include "player/window/OrvoViewController.h"

#include "controls/DefaultImgBtnCell.h"
#include "controls/OrvoImgBtnCell.h"
#include "controls/OrvoSliderCell.h"
#include "controls/OrvoVerticalAlignText.h"
#include "controls/VolumeSliderCell.h"
#include "platform/system/LogCategories.h"
#include "platform/ui/showAlert.h"
#include "playback/ChannelComposition.h"
#include "playback/ChannelSync.h"
#include "playback/RecordingPlayback.h"
#include "player/dataviews/MapPage.h"
#include "player/dataviews/OrvoGraphChartView.h"
#include "player/dataviews/OrvoLineChartView.h"
#include "shared/PlayerState.h"

#include "metadata/PacketCache.h"
#include "platform/media/MutableComposition.h"
#include "platform/media/Player.h"
#include "platform/media/PlayerItem.h"
#include "platform/system/FileManager.h"
#include "platform/ui/Assets.h"
#include "platform/web/WebView.h"

#include <QAbstractItemModel>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>

#include <cstdlib>

namespace {

void print(const QString& text) {
    platform::logLine(platform::lcPlayer(), text);
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

std::shared_ptr<Asset> OrvoViewController::assetForEntry(const orvoTableModel& entry) {
    return m_playback->assetForEntry(entry);
}

ChannelSync& OrvoViewController::channelSync() {
    return m_playback->channelSync();
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
        if (channelIndexOf(playMode) >= channelCount)
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
        view.playback().getUserData(entry.url.isLocalFile() ? FileManager::filePath(entry.url) : path);
        hasGps = false;
        const std::optional<orvoPacketModel> model = packetModelForURL(entry.url);
        if (model) {
            if (!model->packet.isEmpty()) {
                const OrvoVideoPacket& first = model->packet.first();
                hasGps = !first.gps_latitude || *first.gps_latitude != 0.0f || !first.gps_longitude ||
                         *first.gps_longitude != 0.0f;
            }
        }
        view.setChartPackets(model);
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
    if (!readyOnly) {
        playState = 1;
        if (view.playPauseBtn)
            view.playPauseBtn->setImageName(QLatin1String(AssetName::kPause));
    }
}

} // namespace

void OrvoViewController::play(std::shared_ptr<Asset> asset, qint64 idx, bool continuously) {
    loadRecording(*this, asset, idx, continuously, false);
}

void OrvoViewController::ready(std::shared_ptr<Asset> asset, qint64 idx, bool continuously) {
    loadRecording(*this, asset, idx, continuously, true);
}

void OrvoViewController::playChannel(mode channel, std::shared_ptr<Asset> asset, bool continuously,
                                     bool readyOnly) {
    const int trackIndex = channel == mode::multiple_ch ? 4 : channelIndexOf(channel);
    if (!m_playback->loadChannel(trackIndex, asset, RecordingPlayback::SoundTrack::Last,
                                 sliderVolume(volumeSlider), continuously, !readyOnly, true))
        return;
    if (!readyOnly) {
        playState = 1;
        if (playPauseBtn)
            playPauseBtn->setImageName(QLatin1String(AssetName::kPause));
    }
}

void OrvoViewController::playAllChannel(std::shared_ptr<Asset> asset, bool continuously, bool readyOnly) {
    const int sound = soundChannelOf(playMode) < 0 ? 0 : soundChannelOf(playMode);
    // Switching to all channels while playing leaves the start to setPlaySpeed's rate.
    const bool start = !readyOnly && playState != 1;
    m_playback->loadAllChannels(asset, sound, sliderVolume(volumeSlider), continuously, start ? 1.0 : 0.0);
    if (start) {
        playState = 1;
        if (playPauseBtn)
            playPauseBtn->setImageName(QLatin1String(AssetName::kPause));
    }
}

void OrvoViewController::playerDidFinishPlaying() {
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

// `count` steps in `direction` (wrapping at the ends each time); only the entry reached loads.
void playAdjacent(OrvoViewController& view, Direction direction, int count = 1) {
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
    const qint64 entries = displayedRecordingList->size();
    qint64 n = currentIndex;
    for (int step = 0; step < count; ++step) {
        if (direction == Direction::Next)
            n = n == entries - 1 ? 0 : n + 1;
        else
            n = n == 0 ? entries - 1 : n - 1;
        if (n < 0 || n >= entries)
            return;
    }
    if (view.videoNameText)
        view.videoNameText->setText(
            direction == Direction::Previous
                ? OrvoViewController::recordingDisplayName(playMode, displayedRecordingList->at(n))
                : QString());
    view.loadEntry(n, true);
}

} // namespace

void OrvoViewController::playNext() {
    playAdjacent(*this, Direction::Next);
}

void OrvoViewController::playPrev() {
    playAdjacent(*this, Direction::Previous);
}

void OrvoViewController::stepRecordings(int steps) {
    if (steps != 0)
        playAdjacent(*this, steps > 0 ? Direction::Next : Direction::Previous, std::abs(steps));
}

bool OrvoViewController::loadEntry(qint64 idx, bool alert) {
    if (!displayedRecordingList || idx < 0 || idx >= displayedRecordingList->size())
        return false;
    const orvoTableModel entry = displayedRecordingList->at(idx);
    const std::shared_ptr<Asset> asset = assetForEntry(entry);
    if (!asset) {
        if (alert)
            m_playback->alertCannotPlay(entry.url);
        return false;
    }
    highlightPlayingRow(idx);
    currentRecording = entry;
    channelCount = videoTrackCount(asset);
    adjustPlayModeToChannelCount();
    applyPlayModeLayout();
    updateChannelButtons();
    modeBtnsChange(playMode);
    if (videoNameText)
        videoNameText->setText(recordingDisplayName(playMode, entry));
    play(asset, idx, false);
    return true;
}

void OrvoViewController::stopPlayback() {
    playState = 0;
    if (videoNameText)
        videoNameText->setText(QString());
    if (defaultImgBtn)
        defaultImgBtn->show();
    if (playPauseBtn)
        playPauseBtn->setImageName(QLatin1String(AssetName::kPlay));
    clearDataPanel();
    if (videoSlider)
        videoSlider->setDoubleValue(0.0);
    if (videoCurrentText)
        videoCurrentText->setText(QStringLiteral("00:00:00"));
    if (videoTotalText)
        videoTotalText->setText(QStringLiteral("00:00:00"));

    initButtonState();

    m_playback->unload();
    currentAsset = nullptr;
    if (videoContentView)
        videoContentView->hide();
    mapPage().delPos();
}
