#include "MainViewController.h"

#include "ViewLayer.h"
#include "ui_MainViewController.h"

MainViewController::MainViewController(QWidget* parent) : ViewController(parent) {}

MainViewController::~MainViewController() = default;

void MainViewController::loadView() {
    ui = std::make_unique<Ui::MainViewController>();
    ui->setupUi(this);
    ViewLayer::applyStoryboardLayers(this);
    // The scroll view and the picture in its place keep their frames while hidden.
    for (QWidget* view :
         {static_cast<QWidget*>(ui->videoScrollView), static_cast<QWidget*>(ui->defaultImgBtn)}) {
        QSizePolicy policy = view->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        view->setSizePolicy(policy);
    }
    // The player view is the scroll view's document view.
    ui->videoScrollView->setDocumentView(ui->singlePlayerView);

    backgroundView = ui->backgroundView;
    videoScrollView = ui->videoScrollView;
    scrollClipView = ui->videoScrollView;
    singlePlayerView = ui->singlePlayerView;
    defaultImgBtn = ui->defaultImgBtn;
    menuView = ui->menuView;
    videoSlider = ui->videoSlider;
    sliderView = ui->sliderView;
    toolsView = ui->toolsView;
    playPauseBtn = ui->playPauseBtn;
    volumeBtn = ui->volumeBtn;
    volumeSlider = ui->volumeSlider;
    volumeText = ui->volumeText;
    seperator = ui->seperator;
    seperatorShadow = ui->seperatorShadow;
    zoomMenu = ui->zoomMenu;
    speedMenu = ui->speedMenu;
    monoMenu = ui->monoMenu;
    playModeBtn = ui->playModeBtn;
    repeatBtn = ui->repeatBtn;
    videoCurrentText = ui->videoCurrentText;
    videoTotalText = ui->videoTotalText;
}

void MainViewController::onOpenBtnTap() {}
void MainViewController::onPlayPauseBtnTap() {}
void MainViewController::onStopBtnTap() {}
void MainViewController::onRewindBtnTap() {}
void MainViewController::onForwardBtnTap() {}
void MainViewController::onPrevBtnTap() {}
void MainViewController::onNextBtnTap() {}
void MainViewController::onVideoSliderDidChange() {}
void MainViewController::onVolumeBtnTap() {}
void MainViewController::onVolumeSliderDidChange() {}
void MainViewController::onZoomMenuTap() {}
void MainViewController::onSpeedMenuTap() {}
void MainViewController::onMonoMenuTap() {}
void MainViewController::onPlayModeBtnTap() {}
void MainViewController::onRepeatBtnTap() {}
void MainViewController::onSaveBtnTap() {}
void MainViewController::onSettingBtnTap() {}
void MainViewController::onDefaultImgBtnTap() {}
