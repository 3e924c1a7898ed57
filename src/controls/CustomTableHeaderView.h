#pragma once

#include <QColor>
#include <QHeaderView>

// The recording table's header: its background colour first, the column
// titles over it; clicks on it are ignored (no sorting, no resizing).
class CustomTableHeaderView : public QHeaderView {
    Q_OBJECT

public:
    explicit CustomTableHeaderView(Qt::Orientation orientation = Qt::Horizontal, QWidget* parent = nullptr);

    // Room between a column's title and the column's edges, on either side.
    static constexpr int kTitleInset = 6;

    // Setting the colour does not redraw the header by itself.
    QColor backgroundColor = QColor::fromRgbF(0.2f, 0.2f, 0.2f, 1.0f);

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
