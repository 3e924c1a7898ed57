#include "SettingViewController.h"

#include "ViewLayer.h"
#include "ui_SettingViewController.h"

SettingViewController::SettingViewController(QWidget* parent) : ViewController(parent) {}

SettingViewController::~SettingViewController() = default;

void SettingViewController::loadView() {
    ui = std::make_unique<Ui::SettingViewController>();
    ui->setupUi(this);
    ViewLayer::applyStoryboardLayers(this);
    volumeView = ui->volumeView;
    volumeTxt = ui->volumeTxt;
    volumeProgress = ui->volumeProgress;
    updateView = ui->updateView;
    languageMenu = ui->languageMenu;
    versionTxt = ui->versionTxt;
    autoView = ui->autoView;
    autoUpdateBox = ui->autoUpdateBox;
    updateProgress = ui->updateProgress;
    updateProgressView = ui->updateProgressView;
}

void SettingViewController::onLanguageMenuTap() {}
void SettingViewController::onConfirmBtnTap() {}
void SettingViewController::onFirmUpdateBtnTap() {}
void SettingViewController::onSpeedUpdateBtnTap() {}
