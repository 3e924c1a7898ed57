#include "controls/CustomNSView.h"

#include <QPaintEvent>
#include <QPainter>

CustomNSView::CustomNSView(QWidget* parent) : QWidget(parent) {}

void CustomNSView::setBackgroundColor(const QColor& color) {
    m_backgroundColor = color;
    update();
}

void CustomNSView::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(event->rect(), m_backgroundColor);
}
