#pragma once

#include <QStyledItemDelegate>

// The row drawing of the recording table: a selected row is filled with a
// translucent grey (54/255 at alpha 0.5) in place of the platform's
// highlight; an unselected row is drawn as the platform draws it.
class OrvoTableRowView : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit OrvoTableRowView(QObject* parent = nullptr);

    static QColor selectionColor();
    // Fills `rect` with the selection grey using the painter's composition mode.
    static void drawSelectionInRect(QPainter& painter, const QRectF& rect);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // A cell whose text is elided shows the whole text as its tool tip.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
    // Whether the cell's text is too wide for its cell and is drawn elided.
    bool isElided(const QStyleOptionViewItem& option, const QModelIndex& index) const;
};
