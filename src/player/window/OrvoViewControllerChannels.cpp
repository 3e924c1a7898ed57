// The window player's channel views (one magnifiable scroll view, player view
// and player per channel), their arrangement in the container, the drag of a
// magnified picture, and the five channel buttons that choose the channel mode.

#include "player/window/OrvoViewController.h"

#include "playback/RecordingPlayback.h"

#include "controls/CustomButton.h"
#include "controls/DefaultImgBtnCell.h"
#include "controls/OrvoVerticalAlignText.h"
#include "playback/ChannelComposition.h"
#include "player/window/ChannelLayout.h"
#include "shared/PlayerState.h"

#include "platform/media/Player.h"
#include "platform/media/PlayerView.h"
#include "platform/media/ScrollView.h"
#include "platform/system/Localization.h"
#include "platform/system/LogCategories.h"
#include "platform/ui/Assets.h"

#include <array>

namespace {

// The channel buttons by button index: picture family and title.
struct ChannelButtonKind {
    int family;
    const char* title;
};
constexpr std::array<ChannelButtonKind, 5> kChannelButtons{{
    {1, "1CH"},
    {2, "2CH"},
    {2, "3CH"},
    {2, "4CH"},
    {3, "ALL"},
}};

// The state letters of the button pictures: 0 unavailable, 1 current, 2 available.
constexpr std::array<char, 3> kStateLetters{'d', 's', 'n'};

} // namespace

void OrvoViewController::setupPlayerViews(qint64 count) {
    // Players and views of an earlier set-up go first; each player takes its picture back
    // from its view as it goes.
    m_playback->releasePlayers();
    for (ScrollView* scrollView : std::as_const(scrollViews))
        delete scrollView;
    scrollViews.clear();
    avplayerViews.clear();

    if (count < 1 || count > 4) {
        platform::logLine(platform::lcPlayer(), "지원되지 않는 채널 수입니다.");
        return;
    }
    if (!videoContentView)
        return;
    if (!m_channelLayout)
        m_channelLayout = new ChannelLayout(videoContentView);

    const double width = videoContentView->rect().width();
    const QRect initialFrame(0, 0, qRound(width * ChannelLayout::kHalf),
                             qRound(width * ChannelLayout::kHalf / ChannelLayout::kPictureAspect));
    for (qint64 i = 0; i < count; ++i) {
        auto* scrollView = new ScrollView(videoContentView);
        scrollView->setObjectName(QStringLiteral("channelScrollView%1").arg(i + 1));
        scrollView->setGeometry(initialFrame);
        scrollView->setAllowsMagnification(true);
        scrollView->setMinMagnification(1.0);
        scrollView->setMaxMagnification(3.0);
        // A drag moves the magnified picture through handlePan.
        scrollView->setPansByDrag(false);
        connect(scrollView, &ScrollView::panGesture, this,
                [this, scrollView](Qt::GestureState state, QPointF translation) {
                    handlePan(scrollView, state, translation);
                });

        auto* playerView = new PlayerView;
        playerView->setPlayer(m_playback->addPlayer());
        scrollView->setDocumentView(playerView);

        avplayerViews.append(playerView);
        scrollViews.append(scrollView);
        scrollView->show();
    }
    QList<QWidget*> views;
    for (ScrollView* scrollView : std::as_const(scrollViews))
        views.append(scrollView);
    m_channelLayout->setViews(views);
    layoutChannelViews(count);
}

void OrvoViewController::layoutChannelViews(qint64 count) {
    if (!m_channelLayout || !videoContentView)
        return;
    if (count == 2) {
        m_channelLayout->arrange(ChannelLayout::pairArrangement(QSizeF(videoContentView->rect().size())));
        return;
    }
    m_channelLayout->arrange(ChannelLayout::Arrangement::Grid);
}

void OrvoViewController::showSingleChannelView(qint64 channel) {
    if (!m_channelLayout)
        return;
    // The player view letterboxes the 16:9 picture inside the whole container.
    const int single = channel >= 0 && channel < scrollViews.size() ? static_cast<int>(channel) : -1;
    m_channelLayout->arrange(ChannelLayout::Arrangement::Single, single);
}

void OrvoViewController::applyPlayModeLayout() {
    if (channelCount < 0)
        return;
    if (channelCount == 1) {
        showSingleChannelView(0);
        return;
    }
    if (channelCount == 0) {
        layoutChannelViews(scrollViews.size());
        return;
    }
    switch (playMode) {
    case mode::ch1:
    case mode::ch2:
    case mode::ch3:
    case mode::ch4:
        showSingleChannelView(channelIndexOf(playMode));
        break;
    case mode::multiple_ch:
        layoutChannelViews(channelCount);
        break;
    case mode::none_ch:
        showSingleChannelView(-1);
        break;
    }
}

void OrvoViewController::handlePan(ScrollView* scrollView, Qt::GestureState state, QPointF translation) {
    platform::logLine(platform::lcPlayer(), "handlePan");
    if (!scrollView || (state != Qt::GestureStarted && state != Qt::GestureUpdated))
        return;
    // The picture follows the pointer: the visible part moves the other way,
    // within the document (an unmagnified picture does not move).
    const QRectF visible = scrollView->documentVisibleRect();
    const QSizeF document = scrollView->documentSize();
    const double maxX = std::max(0.0, document.width() - visible.width());
    const double maxY = std::max(0.0, document.height() - visible.height());
    const QPointF origin(std::clamp(visible.x() - translation.x(), 0.0, maxX),
                         std::clamp(visible.y() - translation.y(), 0.0, maxY));
    scrollView->scrollToPoint(origin);
}

void OrvoViewController::updateChannelButtonImages(int buttonIndex, int state) {
    const std::array<CustomButton*, 5> buttons{ch1Btn, ch2Btn, ch3Btn, ch4Btn, multipleModeBtn};
    if (buttonIndex < 0 || buttonIndex >= static_cast<int>(buttons.size()) || state < 0 || state > 2)
        return;
    CustomButton* button = buttons[static_cast<std::size_t>(buttonIndex)];
    if (!button)
        return;
    const ChannelButtonKind& kind = kChannelButtons[static_cast<std::size_t>(buttonIndex)];
    button->setImageName(
        AssetName::channelButtonImage(kind.family, kStateLetters[static_cast<std::size_t>(state)]));
    button->setText(localized(kind.title));
    button->setIsActivated(state != 0);
}

void OrvoViewController::updateChannelButtons() {
    for (int i = 0; i < 5; ++i)
        updateChannelButtonImages(i, 0);
    if (playMode == mode::none_ch && channelCount >= 2)
        playMode = mode::ch1;
    const qint64 available = std::min<qint64>(channelCount, 4);
    for (qint64 i = 0; i < available; ++i)
        updateChannelButtonImages(static_cast<int>(i), 2);
    if (channelCount >= 2)
        updateChannelButtonImages(4, 1);
    else
        updateChannelButtonImages(0, 1);
}

void OrvoViewController::modeBtnsChange(mode m) {
    qCInfo(platform::lcPlayer, "modeBtnsChange - mode: %s", modeName(m));
    if (m == mode::none_ch)
        return;
    const std::array<CustomButton*, 5> buttons{ch1Btn, ch2Btn, ch3Btn, ch4Btn, multipleModeBtn};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        CustomButton* button = buttons[i];
        if (!button)
            continue;
        char letter = 's';
        if (static_cast<int>(i) != modeIndex(m)) {
            // A button that refuses clicks shows as unavailable.
            letter = button->isEnabled() && button->isActivated() ? 'n' : 'd';
        }
        button->setImageName(AssetName::channelButtonImage(kChannelButtons[i].family, letter));
    }
}

// A channel button: switches the shown channel, keeping the play position.
void OrvoViewController::switchChannel(CustomButton* button, mode target) {
    if (!currentAsset || !orvoPlayer || !button || !button->isActivated() || !currentRecording)
        return;
    // A recording of one channel has only channel 1 anyway.
    if (!hasMultipleVideoTracks(currentAsset))
        return;
    playMode = target;
    if (videoNameText)
        videoNameText->setText(recordingDisplayName(target, *currentRecording));
    if (target == mode::multiple_ch)
        applyPlayModeLayout();
    else
        showSingleChannelView(channelIndexOf(target));
    switch (playState) {
    case 3:
        if (defaultImgBtn)
            defaultImgBtn->show();
        break;
    case 2:
        // The new channel is prepared at the last position and stays paused.
        if (defaultImgBtn)
            defaultImgBtn->hide();
        ready(currentAsset, currentIndex, true);
        break;
    case 1:
        play(currentAsset, currentIndex, true);
        break;
    default:
        break;
    }
    modeBtnsChange(playMode);
}

void OrvoViewController::onTouchCh1Btn() {
    switchChannel(ch1Btn, mode::ch1);
}

void OrvoViewController::onTouchCh2Btn() {
    switchChannel(ch2Btn, mode::ch2);
}

void OrvoViewController::onTouchCh3Btn() {
    switchChannel(ch3Btn, mode::ch3);
}

void OrvoViewController::onTouchCh4Btn() {
    switchChannel(ch4Btn, mode::ch4);
}

void OrvoViewController::onMultipleModeBtnTap() {
    switchChannel(multipleModeBtn, mode::multiple_ch);
}
