#pragma once

#include <QColor>
#include <QWidget>

// A plain view filled with one colour (black unless told otherwise); the
// window player's full-screen logo view is one.
class CustomNSView : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor backgroundColor READ backgroundColor WRITE setBackgroundColor)

public:
    explicit CustomNSView(QWidget* parent = nullptr);

    QColor backgroundColor() const { return m_backgroundColor; }
    // Sets the fill colour and marks the view for redrawing.
    void setBackgroundColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_backgroundColor = Qt::black;
};
