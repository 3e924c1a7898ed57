#include "BackupViewController.h"

#include "ViewLayer.h"
#include "ui_BackupViewController.h"

BackupViewController::BackupViewController(QWidget* parent) : ViewController(parent) {}

BackupViewController::~BackupViewController() = default;

void BackupViewController::loadView() {
    ui = std::make_unique<Ui::BackupViewController>();
    ui->setupUi(this);
    ViewLayer::applyStoryboardLayers(this);
    urlTextField = ui->urlTextField;
    audioRadioBtn = ui->audioRadioBtn;
    videoRadioBtn = ui->videoRadioBtn;
}

void BackupViewController::onURLBtnTap() {}
void BackupViewController::onAudioRadioBtnTap() {}
void BackupViewController::onVideoRadioBtnTap() {}
void BackupViewController::onCancelBtnTap() {}
void BackupViewController::onSaveBtnTap() {}
