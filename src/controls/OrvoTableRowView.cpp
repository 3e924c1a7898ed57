#include "controls/OrvoTableRowView.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

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

bool OrvoTableRowView::isElided(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    if (cell.text.isEmpty())
        return false;
    const QStyle* style = cell.widget ? cell.widget->style() : QApplication::style();
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, cell.widget);
    // The style keeps a margin on either side of the text inside that rectangle.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, cell.widget) + 1;
    return cell.fontMetrics.horizontalAdvance(cell.text) > textRect.width() - 2 * margin;
}

bool OrvoTableRowView::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                 const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (!event || event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    // A text cut short in its cell (a long district name) shows whole as the tool tip.
    if (isElided(option, index)) {
        // Escaped, so that a tool tip never reads the text as markup.
        const QString text = index.data(Qt::DisplayRole).toString().toHtmlEscaped();
        QToolTip::showText(event->globalPos(), QStringLiteral("<p style='white-space:pre'>%1</p>").arg(text),
                           view, option.rect);
    } else {
        QToolTip::hideText();
        event->ignore();
    }
    return true;
}
