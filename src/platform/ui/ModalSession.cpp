#include "platform/ui/ModalSession.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

int ModalSession::run(QDialog& dialog) {
    const QPointer<QWidget> before = QApplication::activeWindow();
    const int result = dialog.exec();
    activate(before);
    return result;
}

void ModalSession::activate(QWidget* window) {
    if (!window || !window->isVisible())
        return;
    window = window->window();
    window->raise();
    window->activateWindow();
}
