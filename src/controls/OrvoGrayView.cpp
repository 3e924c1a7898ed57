#include "controls/OrvoGrayView.h"

#include "controls/AssetColor.h"
#include "controls/ViewLayer.h"

#include <QPainter>

OrvoGrayView::OrvoGrayView(QWidget* parent) : QWidget(parent) {
    ViewLayer::setPaintsOwnLayer(this);
    ViewLayer::setBackgroundColor(this, assetColor(QStringLiteral("GrayBG_333333")));
}

void OrvoGrayView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    ViewLayer::paint(painter, this);
}
