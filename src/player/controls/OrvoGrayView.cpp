#include "player/controls/OrvoGrayView.h"

#include "player/controls/AssetColor.h"
#include "player/controls/ViewLayer.h"

#include <QPainter>

OrvoGrayView::OrvoGrayView(QWidget* parent) : QWidget(parent) {
    ViewLayer::setPaintsOwnLayer(this);
    ViewLayer::setBackgroundColor(this, assetColor(QStringLiteral("GrayBG_333333")));
}

void OrvoGrayView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    ViewLayer::paint(painter, this);
}
