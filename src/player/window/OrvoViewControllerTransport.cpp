// The window player's control bar: play/pause, stop, previous and next, ten
// seconds back and forward, the position slider, the speed, zoom and mono
// menus, volume and mute, and repeat.

#include "player/window/OrvoViewController.h"

#include "controls/CustomButton.h"
#include "controls/DefaultImgBtnCell.h"
#include "controls/OrvoImgBtnCell.h"
#include "controls/OrvoPopupBtnCell.h"
#include "controls/OrvoSliderCell.h"
#include "controls/OrvoVerticalAlignText.h"
#include "controls/VolumeHotKey.h"
#include "controls/VolumeSliderCell.h"
#include "playback/ChannelComposition.h"
#include "playback/RecordingPlayback.h"
#include "shared/PlayerState.h"
#include "shared/SegueIdentifiers.h"
#include "shared/ServiceConfig.h"

#include "metadata/PacketCache.h"
#include "platform/media/Player.h"
#include "platform/media/PlayerItem.h"
#include "platform/media/PlayerView.h"
#include "platform/media/ScrollView.h"
#include "platform/system/MainQueue.h"
#include "platform/ui/Assets.h"

#include <QDesktopServices>
#include <QLabel>

#include <cmath>
#include <cstdio>

namespace {

// The index of a menu title among `titles`; -1 for any other title.
int indexOfTitle(const QString& title, std::initializer_list<const char*> titles) {
    int index = 0;
    for (const char* candidate : titles) {
        if (title == QLatin1String(candidate))
            return index;
        ++index;
    }
    return -1;
}

} // namespace

void OrvoViewController::onPlayPauseBtnTap() {
    playPause();
}

void OrvoViewController::playPause() {
    if (orvoPlayer) {
        if (playState == 1) {
            m_playback->pause();
            if (playPauseBtn)
                playPauseBtn->setImageName(QLatin1String(AssetName::kPlay));
            playState = 2;
        } else if (playState == 2) {
            if (!currentRecording || !currentAsset)
                return;
            if (videoNameText)
                videoNameText->setText(recordingDisplayName(playMode, *currentRecording));
            if (defaultImgBtn)
                defaultImgBtn->hide();
            const double rate = speedRates[std::min<std::size_t>(speedIndex, speedRates.size() - 1)];
            m_playback->resume(rate, playMode == mode::multiple_ch, soundChannelOf(playMode));
            playState = 1;
            if (playPauseBtn)
                playPauseBtn->setImageName(QLatin1String(AssetName::kPause));
        }
        return;
    }

    // Nothing loaded: start the current entry; zoom, speed and mono stay as they were.
    if (currentIndex == -1)
        currentIndex = 0;
    if (!displayedRecordingList || currentIndex < 0 || currentIndex >= displayedRecordingList->size())
        return;
    if (videoNameText)
        videoNameText->setText(recordingDisplayName(playMode, displayedRecordingList->at(currentIndex)));
    loadEntry(currentIndex, false);
}

void OrvoViewController::onStopBtnTap() {
    stopPlayback();
}

void OrvoViewController::onPrevBtnTap() {
    playPrev();
}

void OrvoViewController::onNextBtnTap() {
    playNext();
}

void OrvoViewController::onRewindBtnTap() {
    seekBySeconds(-10.0);
}

void OrvoViewController::onForwardBtnTap() {
    seekBySeconds(10.0);
}

void OrvoViewController::seekAllPlayers(const MediaTime& time) {
    m_playback->seek(time);
}

void OrvoViewController::seekBySeconds(double delta) {
    double current = 0.0;
    double total = 0.0;
    if (!currentRecording || !m_playback->position(current, total))
        return;
    // The target is not limited to the recording: the players stop at its ends.
    const double target = current + delta;
    updatePlayTime(static_cast<qint64>(target), static_cast<qint64>(total));
    seekAllPlayers(MediaTime::makeWithSeconds(target, 1000));

    const std::optional<orvoPacketModel> model = packetModelForURL(currentRecording->url);
    if (!model) {
        clearDataPanelTexts();
        return;
    }
    redrawMapTrack(packetIndexAt(target, total, model->packet.size()));
}

qint64 OrvoViewController::packetIndexAt(double seconds, double total, qint64 count) {
    if (count <= 0 || !(total > 0.0) || !std::isfinite(seconds))
        return 0;
    const double index = std::floor(seconds / total * static_cast<double>(count));
    // A target before the start or past the end stays inside the packet list.
    return static_cast<qint64>(std::clamp(index, 0.0, static_cast<double>(count - 1)));
}

void OrvoViewController::onVideoSliderDidChange() {
    if (!orvoPlayer || playMode == mode::none_ch) {
        if (videoSlider)
            videoSlider->setDoubleValue(0.0);
        return;
    }
    const std::shared_ptr<PlayerItem> item = orvoPlayer->currentItem();
    if (!item || !videoSlider)
        return;
    const double duration = item->duration().seconds();
    if (!std::isfinite(duration))
        return;
    const double seconds = duration * videoSlider->doubleValue();
    if (videoCurrentText)
        videoCurrentText->setText(timeString(static_cast<qint64>(seconds)));
    seekAllPlayers(MediaTime::makeWithSeconds(seconds, 1000));
    updateDataPanel(true);
}

void OrvoViewController::setPlaySpeed(int index) {
    if (index < 0 || index >= static_cast<int>(speedRates.size()))
        return;
    const double rate = speedRates[static_cast<std::size_t>(index)];
    const quint64 request = ++m_speedRequest;
    if (orvoPlayer && playState == 1 && orvoPlayer->rate() != rate) {
        // The players go through the normal rate for a second before the chosen one.
        m_playback->setRate(1.0);
        mainQueueAfter(1.0, this, [this, index, request] {
            // A pause, a stop or another speed within that second: a rate would
            // start the players again, or undo the later choice.
            if (request != m_speedRequest || playState != 1) {
                if (request == m_speedRequest)
                    selectSpeedMenuItem(index);
                return;
            }
            applyPlayRate(index);
        });
        return;
    }
    selectSpeedMenuItem(index);
}

void OrvoViewController::applyPlayRate(int index) {
    if (index < 0 || index >= static_cast<int>(speedRates.size()))
        return;
    m_playback->setRate(speedRates[static_cast<std::size_t>(index)]);
    selectSpeedMenuItem(index);
}

void OrvoViewController::selectSpeedMenuItem(int index) {
    if (speedMenu && index >= 0 && index < speedMenu->count())
        speedMenu->setCurrentIndex(index);
}

void OrvoViewController::onSpeedMenuTap() {
    if (!speedMenu)
        return;
    const int index = indexOfTitle(speedMenu->currentText(), {"0.5x", "1.0x", "1.5x", "2.0x"});
    if (index >= 0)
        speedIndex = static_cast<std::uint8_t>(index);
    setPlaySpeed(speedIndex);
}

void OrvoViewController::setZoom(int index) {
    if (index < 0 || index >= static_cast<int>(zoomScales.size()))
        return;
    const double magnification = zoomScales[static_cast<std::size_t>(index)];
    for (ScrollView* scrollView : std::as_const(scrollViews)) {
        // Magnified about the middle of the picture, wherever it was moved to before.
        const QPointF centre = QRectF(QPointF(0, 0), scrollView->documentSize()).center();
        scrollView->setMagnification(magnification, centre);
        const QSizeF visible = scrollView->documentVisibleRect().size();
        scrollView->scrollToPoint(centre - QPointF(visible.width() / 2.0, visible.height() / 2.0));
    }
    if (zoomMenu && index < zoomMenu->count())
        zoomMenu->setCurrentIndex(index);
}

void OrvoViewController::onZoomMenuTap() {
    if (!zoomMenu)
        return;
    const int index = indexOfTitle(zoomMenu->currentText(), {"1.0x", "1.5x", "2.0x", "3.0x"});
    if (index >= 0)
        zoomIndex = static_cast<std::uint8_t>(index);
    setZoom(zoomIndex);
}

void OrvoViewController::setMonoFilter(bool on) {
    for (PlayerView* view : std::as_const(avplayerViews))
        view->setMono(on);
    if (monoMenu && monoMenu->count() >= 2)
        monoMenu->setCurrentIndex(on ? 0 : 1);
}

void OrvoViewController::onMonoMenuTap() {
    if (!monoMenu)
        return;
    const int index = indexOfTitle(monoMenu->currentText(), {"ON", "OFF"});
    if (index >= 0)
        isMono = index == 0;
    setMonoFilter(isMono);
}

void OrvoViewController::onVolumeSliderDidChange() {
    if (!volumeSlider)
        return;
    const float v = storeVolumeFromSlider(volumeSlider, volumeText);
    // Only the sound channel's player is heard, and only while not muted.
    m_playback->setVolume(v, soundChannelOf(playMode), isMuted);
}

void OrvoViewController::onVolumeBtnTap() {
    if (volumeBtn)
        volumeBtn->setImageName(QLatin1String(isMuted ? AssetName::kVolume : AssetName::kVolumeMute));
    isMuted = !isMuted;
    m_playback->setMuted(isMuted);
    if (volumeSlider)
        volumeSlider->setEnabled(!isMuted);
}

void OrvoViewController::onRepeatBtnTap() {
    isRepeatOne = !isRepeatOne;
    if (repeatBtn)
        repeatBtn->setImageName(QLatin1String(isRepeatOne ? AssetName::kRepeatOne : AssetName::kRepeatAll));
}
