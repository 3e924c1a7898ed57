#include "UpdateViewController.h"

#include "ViewLayer.h"
#include "ui_UpdateViewController.h"

UpdateViewController::UpdateViewController(QWidget* parent) : ViewController(parent) {}

UpdateViewController::~UpdateViewController() = default;

void UpdateViewController::loadView() {
    ui = std::make_unique<Ui::UpdateViewController>();
    ui->setupUi(this);
    ViewLayer::applyStoryboardLayers(this);
    titleLabel = ui->titleLabel;
    infoLabel = ui->infoLabel;
}

void UpdateViewController::onUpdateBtnTap() {}
void UpdateViewController::onSettingBtnTap() {}
void UpdateViewController::onCancelBtnTap() {}
