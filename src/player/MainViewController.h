#pragma once

#include "platform/ViewController.h"

#include <QPointer>

#include <memory>

class QLabel;
class QWidget;
class BackgroundView;
class DefaultImgBtnCell;
class FullScreenPlayer;
class OrvoImgBtnCell;
class OrvoPopupBtnCell;
class OrvoSliderCell;
class OrvoVerticalAlignText;
class ScrollView;
class VolumeSliderCell;

namespace Ui {
class MainViewController;
}

// The full-screen player: the window's content while it is in full screen.
// One channel in one player view over the whole screen, with a control bar
// at the bottom ("MainViewController" in the storyboard).
class MainViewController : public ViewController {
    Q_OBJECT

public:
    explicit MainViewController(QWidget* parent = nullptr);
    ~MainViewController() override;

    // Outlets, connected when the view loads.
    QPointer<BackgroundView> backgroundView;
    QPointer<ScrollView> videoScrollView;
    // The visible video area: the scroll view's frame.
    QPointer<QWidget> scrollClipView;
    QPointer<FullScreenPlayer> singlePlayerView;
    QPointer<DefaultImgBtnCell> defaultImgBtn;
    QPointer<QWidget> menuView;
    QPointer<OrvoSliderCell> videoSlider;
    QPointer<QWidget> sliderView;
    QPointer<QWidget> toolsView;
    QPointer<OrvoImgBtnCell> playPauseBtn;
    QPointer<OrvoImgBtnCell> volumeBtn;
    QPointer<VolumeSliderCell> volumeSlider;
    QPointer<QLabel> volumeText;
    QPointer<QWidget> seperator;
    QPointer<QWidget> seperatorShadow;
    QPointer<OrvoPopupBtnCell> zoomMenu;
    QPointer<OrvoPopupBtnCell> speedMenu;
    QPointer<OrvoPopupBtnCell> monoMenu;
    QPointer<OrvoImgBtnCell> playModeBtn;
    QPointer<OrvoImgBtnCell> repeatBtn;
    QPointer<OrvoVerticalAlignText> videoCurrentText;
    QPointer<OrvoVerticalAlignText> videoTotalText;

public slots:
    void onOpenBtnTap();
    void onPlayPauseBtnTap();
    void onStopBtnTap();
    void onRewindBtnTap();
    void onForwardBtnTap();
    void onPrevBtnTap();
    void onNextBtnTap();
    void onVideoSliderDidChange();
    void onVolumeBtnTap();
    void onVolumeSliderDidChange();
    void onZoomMenuTap();
    void onSpeedMenuTap();
    void onMonoMenuTap();
    void onPlayModeBtnTap();
    void onRepeatBtnTap();
    void onSaveBtnTap();
    void onSettingBtnTap();
    void onDefaultImgBtnTap();

protected:
    void loadView() override;

private:
    std::unique_ptr<Ui::MainViewController> ui;
};
