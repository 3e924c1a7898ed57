#include "controls/OrvoMapView.h"

#include "controls/AssetColor.h"
#include "controls/ViewLayer.h"

#include <QPainter>

OrvoMapView::OrvoMapView(QWidget* parent) : QWidget(parent) {
    ViewLayer::setPaintsOwnLayer(this);
    ViewLayer::setWantsLayer(this, true);
}

void OrvoMapView::paintEvent(QPaintEvent*) {
    // Each draw gives the layer its colour again.
    if (ViewLayer::wantsLayer(this)) {
        const QColor dark = assetColor(QStringLiteral("DarkGrayBG_1F1F1F"));
        if (ViewLayer::backgroundColor(this) != dark)
            ViewLayer::setBackgroundColor(this, dark, false);
    }
    QPainter painter(this);
    ViewLayer::paint(painter, this);
}
