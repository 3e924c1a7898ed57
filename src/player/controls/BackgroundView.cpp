#include "BackgroundView.h"

#include "platform/NotificationCenter.h"

#include <QMouseEvent>

BackgroundView::BackgroundView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
}

void BackgroundView::updateTrackingAreas() {
    trackingArea = rect();
}

void BackgroundView::mouseMoveEvent(QMouseEvent* event) {
    // Movements count only inside the tracking area of the key window.
    if (trackingArea && trackingArea->contains(event->position().toPoint()) && window()->isActiveWindow())
        NotificationCenter::defaultCenter().post(QStringLiteral("mouseMoved"));
    event->accept();
}

void BackgroundView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateTrackingAreas();
}

void BackgroundView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    updateTrackingAreas();
}
