#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

class QLabel;

// The cell view of the recording table: one text field on a layer whose
// colour marks the row being played.
class OrvoTableCell : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor backgroundColor READ backgroundColor WRITE setBackgroundColor)

public:
    explicit OrvoTableCell(QWidget* parent = nullptr);

    QPointer<QLabel> tableTxt;
    // The recording kind of the row ("기타" until told).
    QString type = QStringLiteral("기타");

    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor& color);

    // Readies the cell for another row: no layer colour, no text.
    void prepareForReuse();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_backgroundColor = Qt::transparent;
};
