#include "CaptureViewController.h"

#include "ViewLayer.h"
#include "ui_CaptureViewController.h"

CaptureViewController::CaptureViewController(QWidget* parent) : ViewController(parent) {}

CaptureViewController::~CaptureViewController() = default;

void CaptureViewController::loadView() {
    ui = std::make_unique<Ui::CaptureViewController>();
    ui->setupUi(this);
    ViewLayer::applyStoryboardLayers(this);
    urlTextField = ui->urlTextField;
    capturePlayerRadio = ui->capturePlayerRadio;
    captureVideoRadio = ui->captureVideoRadio;
    captureVideoAndMapRadio = ui->captureVideoAndMapRadio;
}

void CaptureViewController::onCapturePlayerRadioTap() {}
void CaptureViewController::onCaptureVideoRadioTap() {}
void CaptureViewController::onCaptureVideoAndMap() {}
void CaptureViewController::onCancelBtnTap() {}
void CaptureViewController::onSaveBtnTap() {}
void CaptureViewController::onURLBtnTap() {}
