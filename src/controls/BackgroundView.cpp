#include "controls/BackgroundView.h"

#include "platform/system/NotificationCenter.h"

#include <QMouseEvent>
#include <QWindow>

BackgroundView::BackgroundView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
}

BackgroundView::~BackgroundView() {
    if (m_watchedWindow)
        m_watchedWindow->removeEventFilter(this);
}

void BackgroundView::updateTrackingAreas() {
    trackingArea = rect();
}

void BackgroundView::watchWindow() {
    QWindow* shown = window() ? window()->windowHandle() : nullptr;
    if (shown == m_watchedWindow)
        return;
    if (m_watchedWindow)
        m_watchedWindow->removeEventFilter(this);
    m_watchedWindow = shown;
    if (shown)
        shown->installEventFilter(this);
}

bool BackgroundView::eventFilter(QObject* watched, QEvent* event) {
    // Every movement over the window, whichever view lies under the pointer.
    if (watched == m_watchedWindow && event->type() == QEvent::MouseMove && isVisible()) {
        const auto* move = static_cast<QMouseEvent*>(event);
        const QPoint global = move->globalPosition().toPoint();
        // A movement over this view itself reaches mouseMoveEvent.
        if (window()->childAt(window()->mapFromGlobal(global)) != this)
            reportMovement(mapFromGlobal(global));
    }
    return QWidget::eventFilter(watched, event);
}

void BackgroundView::reportMovement(const QPoint& local) {
    // Movements count only inside the tracking area of the key window.
    if (trackingArea && trackingArea->contains(local) && window()->isActiveWindow())
        NotificationCenter::defaultCenter().post(QStringLiteral("mouseMoved"));
}

void BackgroundView::mouseMoveEvent(QMouseEvent* event) {
    reportMovement(event->position().toPoint());
    event->accept();
}

void BackgroundView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateTrackingAreas();
}

void BackgroundView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    watchWindow();
    updateTrackingAreas();
}
