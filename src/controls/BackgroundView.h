#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <optional>

class QWindow;

// The view under the whole full-screen player: reports every mouse movement
// over its window, while that window is the active one, by posting
// "mouseMoved". The video, the control bar and the default picture lie over
// it and do not track the mouse, so the movements are taken from the window
// itself before any of them sees one.
class BackgroundView : public QWidget {
    Q_OBJECT

public:
    explicit BackgroundView(QWidget* parent = nullptr);
    ~BackgroundView() override;

    // The tracked rectangle (the view's bounds when last renewed); none until the first renewal.
    std::optional<QRect> trackingArea;

    // Replaces the tracking area by one over the current bounds.
    void updateTrackingAreas();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Watches the movements of the window now showing this view.
    void watchWindow();
    // Posts "mouseMoved" for a movement to `local` (in this view's coordinates).
    void reportMovement(const QPoint& local);

    QPointer<QWindow> m_watchedWindow;
};
