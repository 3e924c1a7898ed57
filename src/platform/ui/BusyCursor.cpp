#include "platform/ui/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace {
int g_depth = 0;
}

BusyCursor::BusyCursor() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    m_set = true;
    ++g_depth;
}

BusyCursor::~BusyCursor() {
    if (!m_set)
        return;
    --g_depth;
    QGuiApplication::restoreOverrideCursor();
}

bool BusyCursor::isShown() {
    return g_depth > 0;
}
