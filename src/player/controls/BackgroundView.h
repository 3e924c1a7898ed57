#pragma once

#include <QRect>
#include <QWidget>

#include <optional>

// The view under the whole full-screen player: reports every mouse movement
// over it, while its window is the active one, by posting "mouseMoved".
class BackgroundView : public QWidget {
    Q_OBJECT

public:
    explicit BackgroundView(QWidget* parent = nullptr);

    // The tracked rectangle (the view's bounds when last renewed); none until the first renewal.
    std::optional<QRect> trackingArea;

    // Replaces the tracking area by one over the current bounds.
    void updateTrackingAreas();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
};
