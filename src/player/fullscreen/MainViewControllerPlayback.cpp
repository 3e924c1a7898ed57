// The full-screen player's playback: one channel at a time in its one player,
// the previous and next recordings, the end of a recording, the position
// timer and time display, the transport buttons and the play settings.

#include "player/fullscreen/MainViewController.h"

#include "controls/DefaultImgBtnCell.h"
#include "controls/OrvoImgBtnCell.h"
#include "controls/OrvoPopupBtnCell.h"
#include "controls/OrvoSliderCell.h"
#include "controls/OrvoVerticalAlignText.h"
#include "controls/VolumeHotKey.h"
#include "controls/VolumeSliderCell.h"
#include "playback/ChannelComposition.h"
#include "playback/RecordingPlayback.h"
#include "player/fullscreen/FullScreenPlayer.h"
#include "shared/PlayerState.h"

#include "platform/media/Player.h"
#include "platform/media/PlayerItem.h"
#include "platform/media/ScrollView.h"
#include "platform/system/LogCategories.h"
#include "platform/system/MainQueue.h"
#include "platform/ui/Assets.h"

#include <QFileInfo>
#include <QLabel>
#include <QTimer>

#include <cmath>

namespace {

// The channel played for `asset`: ch2-ch4 when it has several video tracks, else ch1.
mode playedChannel(const std::shared_ptr<Asset>& asset) {
    switch (playMode) {
    case mode::ch2:
    case mode::ch3:
    case mode::ch4:
        return hasMultipleVideoTracks(asset) ? playMode : mode::ch1;
    default:
        return mode::ch1;
    }
}

double currentRate() {
    return speedRates[std::min<std::size_t>(speedIndex, speedRates.size() - 1)];
}

} // namespace

std::shared_ptr<Asset> MainViewController::assetForEntry(qint64 index, bool composition) {
    if (!displayedRecordingList || index < 0 || index >= displayedRecordingList->size())
        return nullptr;
    return m_playback->assetForEntry(displayedRecordingList->at(index), composition);
}

void MainViewController::resetPlaySettings() {
    zoomIndex = 0;
    setZoom(0);
    speedIndex = 1;
    setPlaySpeed(1);
    isMono = false;
    setMonoFilter(false);
}

void MainViewController::playFirstRecording() {
    resetPlaySettings();
    if (currentIndex == -1)
        currentIndex = 0;
    if (!displayedRecordingList || currentIndex < 0 || currentIndex >= displayedRecordingList->size())
        return;
    const orvoTableModel entry = displayedRecordingList->at(currentIndex);
    setWindowTitle(QFileInfo(entry.url.path()).fileName());
    const std::shared_ptr<Asset> asset = assetForEntry(currentIndex, true);
    if (!asset)
        return;
    currentRecording = entry;
    if (selectedRow.value_or(-1) == -1)
        selectedRow = 0;
    play(asset, currentIndex, false);
}

namespace {
enum class Step { Next, Previous };
}

static void playAdjacent(MainViewController& view, Step step) {
    if (!displayedRecordingList)
        return;
    const qint64 count = displayedRecordingList->size();
    const qint64 n = step == Step::Next ? (currentIndex == count - 1 ? 0 : currentIndex + 1)
                                        : (currentIndex == 0 ? count - 1 : currentIndex - 1);
    if (n < 0 || n >= count)
        return;
    const orvoTableModel entry = displayedRecordingList->at(n);
    if (QWidget* shownWindow = view.window(); shownWindow && shownWindow != &view)
        shownWindow->setWindowTitle(QFileInfo(entry.url.path()).fileName());
    // A step back plays the chosen file's own tracks; a step forward its channel composition.
    const std::shared_ptr<Asset> asset = view.playback().assetForEntry(entry, step == Step::Next);
    if (!asset) {
        view.playback().alertCannotPlay(entry.url);
        return;
    }
    currentRecording = entry;
    channelCount = videoTrackCount(asset);
    if (channelCount > 0) {
        playMode = mode::ch1;
        view.setPlayModeButton(mode::ch1);
    }
    selectedRow = n;
    view.play(asset, n, false);
}

void MainViewController::playNext() {
    resetPlaySettings();
    playAdjacent(*this, Step::Next);
}

void MainViewController::playPrev() {
    resetPlaySettings();
    playAdjacent(*this, Step::Previous);
}

void MainViewController::play(std::shared_ptr<Asset> asset, qint64 index, bool continuously) {
    qCInfo(platform::lcPlayer, "MainViewController::play - channel: %s", modeName(playMode));
    if (defaultImgBtn)
        defaultImgBtn->hide();
    if (videoScrollView)
        videoScrollView->show();
    playChannel(playedChannel(asset), asset, continuously, false);
    setPlaySpeed(speedIndex);
    currentIndex = index;
    playState = 1;
}

void MainViewController::ready(std::shared_ptr<Asset> asset, qint64 index, bool continuously) {
    qCInfo(platform::lcPlayer, "MainViewController::ready - channel: %s", modeName(playMode));
    playChannel(playedChannel(asset), asset, continuously, true);
    currentIndex = index;
}

void MainViewController::playChannel(mode channel, std::shared_ptr<Asset> asset, bool continuously,
                                     bool readyOnly) {
    qCInfo(platform::lcPlayer, "MainViewController::playChannel - channel: %s", modeName(channel));
    const int track = channel == mode::multiple_ch ? 4 : modeIndex(channel);
    const float level = volumeSlider ? static_cast<float>(volumeSlider->value() / 100.0) : volume;
    // Every channel plays in the one player.
    if (!m_playback->loadChannel(track, asset, RecordingPlayback::SoundTrack::First, level, continuously,
                                 !readyOnly, true, 0))
        return;
    playMode = channel;
    setPlayModeButton(channel);
    player = m_playback->orvoPlayer;
    if (singlePlayerView)
        singlePlayerView->show();
    if (!readyOnly) {
        playState = 1;
        if (playPauseBtn)
            playPauseBtn->setImageName(QLatin1String(AssetName::kPause));
    }
}

void MainViewController::playerDidFinishPlaying() {
    if (isRepeatOne) {
        if (currentAsset)
            play(currentAsset, currentIndex, false);
        else
            platform::logLine(platform::lcPlayer(), "nil asset");
        return;
    }
    playNext();
}

void MainViewController::resetPlayer() {
    if (!player)
        return;
    resetPlaySettings();
    playState = 0;
    m_playback->unload();
    if (videoScrollView)
        videoScrollView->hide();
    if (defaultImgBtn)
        defaultImgBtn->show();
    if (playPauseBtn)
        playPauseBtn->setImageName(QLatin1String(AssetName::kPlay));
    currentAsset = nullptr;
}

// --- Time display ---

void MainViewController::startPlayTimer() {
    if (player && player->currentItem()) {
        if (videoSlider)
            videoSlider->setDoubleValue(0.0);
        if (videoCurrentText)
            videoCurrentText->setText(timeString(0));
        if (videoTotalText)
            videoTotalText->setText(
                timeString(static_cast<qint64>(player->currentItem()->duration().seconds())));
    }
    if (currentTrackTimer)
        currentTrackTimer->stop();
    auto* timer = new QTimer(this);
    timer->setInterval(100);
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer, &QTimer::timeout, this, &MainViewController::timerInterval);
    timer->start();
    currentTrackTimer = timer;
}

void MainViewController::timerInterval() {
    if (!player || !player->currentItem())
        return;
    const MediaTime duration = player->currentItem()->duration();
    const MediaTime time = player->currentItem()->currentTime();
    if (duration.timescale() <= 0 || time.timescale() <= 0 || !duration.isNumeric() || !time.isNumeric())
        return;
    lastPlayTime = time;
    if (!sliderIsSelected)
        updatePlayTime(time.value() / time.timescale(), duration.value() / duration.timescale());
}

void MainViewController::updatePlayTime(qint64 current, qint64 total) {
    mainQueueAsync(this, [this, current, total] { calcTime(current, total); });
}

void MainViewController::calcTime(qint64 current, qint64 total) {
    if (videoCurrentText)
        videoCurrentText->setText(timeString(current));
    if (videoTotalText)
        videoTotalText->setText(timeString(total));
    // Without a length yet there is no position to show on the slider.
    if (videoSlider && total > 0)
        videoSlider->setDoubleValue(static_cast<double>(current) / static_cast<double>(total));
}

// --- Transport ---

void MainViewController::onPlayPauseBtnTap() {
    if (!player) {
        playFirstRecording();
        return;
    }
    // After a folder was opened here the player has no item: the current entry starts.
    if (!player->currentItem()) {
        playFirstRecording();
        return;
    }
    if (defaultImgBtn)
        defaultImgBtn->hide();
    if (videoScrollView)
        videoScrollView->show();
    if (playState == 2) {
        m_playback->resume(currentRate(), false, 0);
        playState = 1;
        setPlaySpeed(speedIndex);
        if (playPauseBtn)
            playPauseBtn->setImageName(QLatin1String(AssetName::kPause));
    } else if (playState == 1) {
        m_playback->pause();
        playState = 2;
        if (playPauseBtn)
            playPauseBtn->setImageName(QLatin1String(AssetName::kPlay));
    }
}

void MainViewController::onStopBtnTap() {
    if (!player)
        return;
    m_playback->unload();
    playState = 3;
    if (playPauseBtn)
        playPauseBtn->setImageName(QLatin1String(AssetName::kPlay));
    setWindowTitle(QStringLiteral("Kavrin Player"));
    if (videoScrollView)
        videoScrollView->hide();
    if (defaultImgBtn)
        defaultImgBtn->show();
    if (videoSlider)
        videoSlider->setDoubleValue(0.0);
    if (videoCurrentText)
        videoCurrentText->setText(QStringLiteral("00:00:00"));
    if (videoTotalText)
        videoTotalText->setText(QStringLiteral("00:00:00"));
    player = nullptr;
}

static void seekBy(MainViewController& view, double delta) {
    double current = 0.0;
    double total = 0.0;
    if (!view.player || !view.playback().position(current, total))
        return;
    const double target = current + delta;
    view.updatePlayTime(static_cast<qint64>(target), static_cast<qint64>(total));
    view.playback().seek(MediaTime::makeWithSeconds(target, 1000));
}

void MainViewController::onRewindBtnTap() {
    seekBy(*this, -10.0);
}

void MainViewController::onForwardBtnTap() {
    seekBy(*this, 10.0);
}

void MainViewController::onPrevBtnTap() {
    resetPlayer();
    playPrev();
}

void MainViewController::onNextBtnTap() {
    resetPlayer();
    playNext();
}

void MainViewController::onVideoSliderDidChange() {
    if (!player || playMode == mode::none_ch) {
        if (videoSlider)
            videoSlider->setDoubleValue(0.0);
        return;
    }
    if (!player->currentItem() || !videoSlider)
        return;
    const double duration = player->currentItem()->duration().seconds();
    if (!std::isfinite(duration))
        return;
    const double seconds = duration * videoSlider->doubleValue();
    sliderIsSelected = videoSlider->isSliderDown();
    if (videoCurrentText)
        videoCurrentText->setText(timeString(static_cast<qint64>(seconds)));
    m_playback->seek(MediaTime::makeWithSeconds(seconds, 1000));
}

// --- Play settings ---

void MainViewController::setPlaySpeed(int index) {
    if (!player || index < 0 || index >= static_cast<int>(speedRates.size()))
        return;
    const quint64 request = ++m_speedRequest;
    mainQueueAfter(0.1, this, [this, index, request] {
        if (request != m_speedRequest)
            return;
        if (playState == 1)
            m_playback->setRate(speedRates[static_cast<std::size_t>(index)]);
        selectSpeedMenuItem(index);
    });
}

void MainViewController::selectSpeedMenuItem(int index) {
    if (speedMenu)
        speedMenu->setCurrentIndex(index >= 1 && index <= 3 ? index : 0);
}

void MainViewController::onSpeedMenuTap() {
    if (!player || !speedMenu)
        return;
    static const QStringList titles{QStringLiteral("0.5x"), QStringLiteral("1.0x"), QStringLiteral("1.5x"),
                                    QStringLiteral("2.0x")};
    if (const qsizetype index = titles.indexOf(speedMenu->currentText()); index >= 0)
        speedIndex = static_cast<std::uint8_t>(index);
    setPlaySpeed(speedIndex);
}

void MainViewController::setMonoFilter(bool on) {
    if (monoMenu && monoMenu->count() >= 2)
        monoMenu->setCurrentIndex(on ? 0 : 1);
    if (singlePlayerView)
        singlePlayerView->setMono(on);
}

void MainViewController::onMonoMenuTap() {
    if (!player || !monoMenu)
        return;
    if (monoMenu->currentText() == QLatin1String("ON"))
        isMono = true;
    else if (monoMenu->currentText() == QLatin1String("OFF"))
        isMono = false;
    setMonoFilter(isMono);
}

void MainViewController::setZoom(int index) {
    if (!videoScrollView || index < 0 || index >= static_cast<int>(zoomScales.size()))
        return;
    // Magnified about the middle of the visible video area.
    const QPointF centre = QRectF(QPointF(0, 0), videoScrollView->documentSize()).center();
    videoScrollView->setMagnification(zoomScales[static_cast<std::size_t>(index)], centre);
    const QSizeF visible = videoScrollView->documentVisibleRect().size();
    videoScrollView->scrollToPoint(centre - QPointF(visible.width() / 2.0, visible.height() / 2.0));
    if (zoomMenu)
        zoomMenu->setCurrentIndex(index >= 1 && index <= 3 ? index : 0);
}

void MainViewController::onZoomMenuTap() {
    if (!zoomMenu)
        return;
    static const QStringList titles{QStringLiteral("1.0x"), QStringLiteral("1.5x"), QStringLiteral("2.0x"),
                                    QStringLiteral("3.0x")};
    if (const qsizetype index = titles.indexOf(zoomMenu->currentText()); index >= 0)
        zoomIndex = static_cast<std::uint8_t>(index);
    setZoom(zoomIndex);
}

void MainViewController::onRepeatBtnTap() {
    isRepeatOne = !isRepeatOne;
    if (repeatBtn)
        repeatBtn->setImageName(QLatin1String(isRepeatOne ? AssetName::kRepeatOne : AssetName::kRepeatAll));
}

void MainViewController::onVolumeSliderDidChange() {
    if (!volumeSlider)
        return;
    const float v = storeVolumeFromSlider(volumeSlider, volumeText);
    if (player && playMode != mode::none_ch)
        player->setVolume(v);
}

void MainViewController::onVolumeBtnTap() {
    if (volumeBtn)
        volumeBtn->setImageName(QLatin1String(isMuted ? AssetName::kVolume : AssetName::kVolumeMute));
    isMuted = !isMuted;
    if (player) {
        player->setMuted(isMuted);
        if (volumeSlider)
            volumeSlider->setEnabled(!isMuted);
    }
}
