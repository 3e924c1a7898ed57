#include "player/window/HelpViewController.h"

#include "controls/AssetColor.h"
#include "controls/ViewLayer.h"
#include "ui_HelpViewController.h"

#include "platform/system/Localization.h"

HelpViewController::HelpViewController(QWidget* parent) : ViewController(parent) {}

HelpViewController::~HelpViewController() = default;

void HelpViewController::loadView() {
    ui = std::make_unique<Ui::HelpViewController>();
    ui->setupUi(this);
    ViewLayer::applyStoryboardLayers(this);
    backgroundView = ui->backgroundView;
    stackView = ui->stackView;
    seperator = ui->seperator;
    leftView = ui->leftView;
    rightView = ui->rightView;
    // The district search exists only in the Korean interface, the one that names districts.
    const bool search = isKoreanInterface();
    ui->mouseKey4->setVisible(search);
    ui->mouseText4->setVisible(search);
}

void HelpViewController::viewDidLayout() {
    ViewLayer::setBackgroundColor(backgroundView, assetColor(QStringLiteral("TransparentBlack_20")));
    ViewLayer::setBackgroundColor(seperator, Qt::black);
}

void HelpViewController::onConfirmBtnTap() {
    dismissViewController(this);
}
