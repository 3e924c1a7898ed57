// The full-screen player's control bar, which hides after five seconds
// without mouse movement in full screen, and its channel button, which steps
// through the recording's channels.

#include "player/fullscreen/MainViewController.h"

#include "controls/DefaultImgBtnCell.h"
#include "controls/OrvoImgBtnCell.h"
#include "playback/ChannelComposition.h"
#include "shared/PlayerState.h"
#include "ui_MainViewController.h"

#include "platform/media/ScrollView.h"
#include "platform/ui/Assets.h"
#include "platform/ui/WindowController.h"

#include <QApplication>
#include <QSpacerItem>

#include <array>

namespace {

// The seconds without movement after which the bar hides.
constexpr qint64 kIdleTicks = 5;
// The height the bar keeps free under the video while it shows.
constexpr int kBarHeight = 70;

constexpr std::array<const char*, 4> kChannelImages{AssetName::kChannel1, AssetName::kChannel2,
                                                    AssetName::kChannel3, AssetName::kChannel4};

} // namespace

void MainViewController::showMenuView(bool shown) {
    // "mainBottom": -70 under a shown bar, 0 when the video takes its place.
    if (ui && ui->mainBottom) {
        const int height = shown ? kBarHeight : 0;
        if (ui->mainBottom->sizeHint().height() != height) {
            ui->mainBottom->changeSize(0, height, QSizePolicy::Fixed, QSizePolicy::Fixed);
            if (QLayout* layout = ui->backgroundLayout)
                layout->invalidate();
        }
    }
    if (menuView)
        menuView->setVisible(shown);
}

void MainViewController::mouseTimerInterval() {
    if (QWidget* mainWindow = window(); mainWindow && mainWindow != this) {
        if (mainWindow->isFullScreen() || (windowController() && windowController()->isFullScreen()))
            ++mouseTemp;
        else
            mouseTemp = 0;
    }
    showMenuView(mouseTemp < kIdleTicks);
}

void MainViewController::onMouseMoved() {
    if (menuView)
        menuView->show();
    mouseTemp = 0;
}

int MainViewController::playModeTag() const {
    return m_playModeTag;
}

void MainViewController::setPlayModeButton(mode channel) {
    const int index = modeIndex(channel);
    m_playModeTag = index >= 0 && index <= 3 ? index : 0;
    if (playModeBtn)
        playModeBtn->setImageName(QLatin1String(kChannelImages[static_cast<std::size_t>(m_playModeTag)]));
}

void MainViewController::onPlayModeBtnTap() {
    if (!currentAsset || !player)
        return;
    const qint64 count = videoTrackCount(currentAsset);
    if (count < 1)
        return;
    // 1 -> 2 -> ... -> n -> 1.
    if (m_playModeTag == 0 && count < 2)
        return;
    const int next = m_playModeTag + 1 < count && m_playModeTag < 3 ? m_playModeTag + 1 : 0;
    static constexpr std::array<mode, 4> kModes{mode::ch1, mode::ch2, mode::ch3, mode::ch4};
    playMode = kModes[static_cast<std::size_t>(next)];
    setPlayModeButton(playMode);
    if (playState == 1) {
        play(currentAsset, currentIndex, true);
    } else if (playState == 2) {
        if (defaultImgBtn)
            defaultImgBtn->hide();
        if (videoScrollView)
            videoScrollView->show();
        ready(currentAsset, currentIndex, true);
    }
}
