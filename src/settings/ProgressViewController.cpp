#include "ProgressViewController.h"

#include "ViewLayer.h"
#include "ui_ProgressViewController.h"

ProgressViewController::ProgressViewController(QWidget* parent) : ViewController(parent) {}

ProgressViewController::~ProgressViewController() = default;

void ProgressViewController::loadView() {
    ui = std::make_unique<Ui::ProgressViewController>();
    ui->setupUi(this);
    ViewLayer::applyStoryboardLayers(this);
    progressLabel = ui->progressLabel;
    downloadProgressBar = ui->downloadProgressBar;
    cancelBtn = ui->cancelBtn;
}

void ProgressViewController::onCancelBtnTap() {}
