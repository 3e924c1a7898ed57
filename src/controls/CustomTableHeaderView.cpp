#include "controls/CustomTableHeaderView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

CustomTableHeaderView::CustomTableHeaderView(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent) {
    setSectionsClickable(false);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void CustomTableHeaderView::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(viewport());
        painter.fillRect(event->rect(), backgroundColor);
    }
    QHeaderView::paintEvent(event);
}

void CustomTableHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid())
        return;
    // The title over the background; a thin divider closes each column.
    painter->save();
    const QVariant title =
        model() ? model()->headerData(logicalIndex, orientation(), Qt::DisplayRole) : QVariant();
    QColor text = palette().color(QPalette::WindowText);
    text.setAlpha(190);
    painter->setPen(text);
    painter->setFont(font());
    const QVariant align =
        model() ? model()->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole) : QVariant();
    const Qt::Alignment alignment = align.isValid() ? Qt::Alignment(align.toInt()) : defaultAlignment();
    painter->drawText(rect.adjusted(kTitleInset, 0, -kTitleInset, 0), int(alignment), title.toString());
    painter->setPen(QColor(255, 255, 255, 28));
    if (visualIndex(logicalIndex) < count() - 1)
        painter->drawLine(rect.topRight() + QPoint(0, 5), rect.bottomRight() - QPoint(0, 5));
    painter->restore();
}

void CustomTableHeaderView::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void CustomTableHeaderView::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}
