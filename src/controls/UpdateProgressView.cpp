#include "controls/UpdateProgressView.h"

#include "controls/ViewLayer.h"
#include "platform/system/LogCategories.h"

#include <QGraphicsOpacityEffect>
#include <QMouseEvent>
#include <QPainter>

UpdateProgressView::UpdateProgressView(QWidget* parent) : QWidget(parent) {
    ViewLayer::setPaintsOwnLayer(this);
}

QWidget* UpdateProgressView::hitTest(const QPoint&) {
    platform::logLine(platform::lcPlayer(), "hitTest");
    return this;
}

void UpdateProgressView::setAlphaValue(qreal alpha) {
    m_alphaValue = qBound(0.0, alpha, 1.0);
    if (m_alphaValue >= 1.0) {
        setGraphicsEffect(nullptr);
        return;
    }
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(graphicsEffect());
    if (!effect) {
        effect = new QGraphicsOpacityEffect(this);
        setGraphicsEffect(effect);
    }
    effect->setOpacity(m_alphaValue);
}

bool UpdateProgressView::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        hitTest(mouse->position().toPoint());
        if (event->type() == QEvent::MouseButtonPress) {
            mousePressEvent(mouse);
            return true;
        }
        // Shown, the overlay keeps every mouse event from the views below.
        event->setAccepted(isVisible());
        return true;
    }
    case QEvent::Wheel:
        event->setAccepted(isVisible());
        return true;
    default:
        return QWidget::event(event);
    }
}

void UpdateProgressView::mousePressEvent(QMouseEvent* event) {
    if (isHidden()) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
}

void UpdateProgressView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    ViewLayer::paint(painter, this);
}
