#include "OrvoTableRowView.h"

#include <QPainter>

OrvoTableRowView::OrvoTableRowView(QObject* parent) : QStyledItemDelegate(parent) {}

QColor OrvoTableRowView::selectionColor() {
    return QColor::fromRgbF(54.0f / 255.0f, 54.0f / 255.0f, 54.0f / 255.0f, 0.5f);
}

void OrvoTableRowView::drawSelectionInRect(QPainter& painter, const QRectF& rect) {
    painter.fillRect(rect, selectionColor());
}

void OrvoTableRowView::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    if (!(option.state & QStyle::State_Selected)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    drawSelectionInRect(*painter, option.rect);
    QStyleOptionViewItem plain(option);
    plain.state &= ~QStyle::State_Selected;
    plain.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, plain, index);
}
