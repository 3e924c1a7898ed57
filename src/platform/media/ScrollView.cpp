#include "platform/media/ScrollView.h"

#include "platform/media/PlayerView.h"

#include <QMouseEvent>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

ScrollView::ScrollView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

ScrollView::~ScrollView() = default;

void ScrollView::setDocumentView(PlayerView* view) {
    if (view == m_documentView)
        return;
    if (m_documentView && m_documentView->parentWidget() == this)
        m_documentView->setVisibleRegion(1.0, QPointF(0.5, 0.5));
    m_documentView = view;
    if (view) {
        view->setParent(this);
        view->setGeometry(rect());
        view->show();
    }
    apply();
}

void ScrollView::setMinMagnification(double magnification) {
    if (!std::isfinite(magnification) || magnification <= 0.0)
        return;
    m_minMagnification = magnification;
    m_maxMagnification = std::max(m_maxMagnification, magnification);
    setMagnification(m_magnification);
}

void ScrollView::setMaxMagnification(double magnification) {
    if (!std::isfinite(magnification) || magnification <= 0.0)
        return;
    m_maxMagnification = magnification;
    m_minMagnification = std::min(m_minMagnification, magnification);
    setMagnification(m_magnification);
}

QRectF ScrollView::documentVisibleRect() const {
    return QRectF(m_origin, documentSize() / m_magnification);
}

void ScrollView::setMagnification(double magnification) {
    setMagnification(magnification, documentVisibleRect().center());
}

void ScrollView::setMagnification(double magnification, QPointF point) {
    if (!std::isfinite(magnification))
        return;
    const double m = std::clamp(magnification, m_minMagnification, m_maxMagnification);
    if (!std::isfinite(point.x()) || !std::isfinite(point.y()))
        point = documentVisibleRect().center();
    // The point keeps its place on the screen: its offset from the origin shrinks by old/new.
    const QPointF origin = point - (point - m_origin) * (m_magnification / m);
    const bool changed = m != m_magnification;
    m_magnification = m;
    m_origin = clampedOrigin(origin, m);
    apply();
    if (changed)
        emit magnificationChanged(m);
}

void ScrollView::scrollToPoint(QPointF origin) {
    if (!std::isfinite(origin.x()) || !std::isfinite(origin.y()))
        return;
    m_origin = clampedOrigin(origin, m_magnification);
    apply();
}

QPointF ScrollView::clampedOrigin(QPointF origin, double magnification) const {
    const QSizeF visible = documentSize() / magnification;
    const double maxX = std::max(0.0, documentSize().width() - visible.width());
    const double maxY = std::max(0.0, documentSize().height() - visible.height());
    return QPointF(std::clamp(origin.x(), 0.0, maxX), std::clamp(origin.y(), 0.0, maxY));
}

void ScrollView::apply() {
    if (m_documentView) {
        const QSizeF doc = documentSize();
        const QPointF centre = documentVisibleRect().center();
        const QPointF fraction =
            doc.isEmpty() ? QPointF(0.5, 0.5) : QPointF(centre.x() / doc.width(), centre.y() / doc.height());
        m_documentView->setVisibleRegion(m_magnification, fraction);
    }
    emit boundsChanged();
}

void ScrollView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Keep the same part of the picture in view: scale the origin with the size.
    const QSize old = event->oldSize();
    if (old.width() > 0 && old.height() > 0)
        m_origin = QPointF(m_origin.x() * width() / old.width(), m_origin.y() * height() / old.height());
    m_origin = clampedOrigin(m_origin, m_magnification);
    if (m_documentView)
        m_documentView->setGeometry(rect());
    apply();
}

void ScrollView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    m_lastDragPosition = event->position();
    emit panGesture(Qt::GestureStarted, QPointF());
    event->accept();
}

void ScrollView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPointF translation = (event->position() - m_lastDragPosition) / m_magnification;
    m_lastDragPosition = event->position();
    emit panGesture(Qt::GestureUpdated, translation);
    // The picture follows the pointer: the visible part moves the other way.
    if (m_pansByDrag)
        scrollToPoint(m_origin - translation);
    event->accept();
}

void ScrollView::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_dragging || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_dragging = false;
    emit panGesture(Qt::GestureFinished, QPointF());
    event->accept();
}
