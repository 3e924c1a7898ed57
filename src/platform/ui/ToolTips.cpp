#include "platform/ui/ToolTips.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPointer>
#include <QScreen>
#include <QToolTip>
#include <QWidget>
#include <QWindow>

namespace {

constexpr int kGap = 4;

// The tip window Qt shows at the moment, if any.
QWidget* shownTip() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->windowType() == Qt::ToolTip && widget->isVisible())
            return widget;
    }
    return nullptr;
}

class ClickThrough : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->windowType() == Qt::ToolTip && widget->windowHandle())
                widget->windowHandle()->setFlag(Qt::WindowTransparentForInput, true);
        }
        return false;
    }
};

class TipAbove : public QObject {
public:
    TipAbove(QWidget* top, QObject* parent) : QObject(parent), m_top(top) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType() || !m_top)
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->toolTip().isEmpty())
            return false; // the parent's tip, if it has one
        const QPoint at = static_cast<QHelpEvent*>(event)->globalPos();
        QToolTip::showText(at, widget->toolTip(), widget, QRect(), widget->toolTipDuration());
        QWidget* tip = shownTip();
        const QScreen* screen = m_top->screen();
        if (tip && screen) {
            const int y = m_top->mapToGlobal(QPoint(0, 0)).y() - kGap - tip->height();
            if (y >= screen->geometry().top())
                tip->move(tip->x(), y);
        }
        return true;
    }

private:
    QPointer<QWidget> m_top;
};

} // namespace

void ToolTips::letClicksThrough() {
    static QPointer<ClickThrough> installed;
    if (installed || !qApp)
        return;
    installed = new ClickThrough(qApp);
    qApp->installEventFilter(installed);
}

void ToolTips::showAbove(QWidget* top, const QList<QWidget*>& areas) {
    if (!top)
        return;
    auto* filter = new TipAbove(top, top);
    for (QWidget* area : areas) {
        if (!area)
            continue;
        area->installEventFilter(filter);
        for (QWidget* control : area->findChildren<QWidget*>())
            control->installEventFilter(filter);
    }
}
