#pragma once

#include <QWidget>

// An overlay that takes every click while it is shown (the settings screen's
// download overlay): every mouse event that reaches it is hit-tested to the
// overlay itself and swallowed; while hidden it lets clicks through.
class UpdateProgressView : public QWidget {
    Q_OBJECT
    Q_PROPERTY(qreal alphaValue READ alphaValue WRITE setAlphaValue)

public:
    explicit UpdateProgressView(QWidget* parent = nullptr);

    // The view that takes a mouse event at `point`: always the overlay itself.
    // Prints "hitTest".
    QWidget* hitTest(const QPoint& point);

    // The opacity of the overlay and everything on it, 0 to 1.
    qreal alphaValue() const { return m_alphaValue; }
    void setAlphaValue(qreal alpha);

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    qreal m_alphaValue = 1.0;
};
