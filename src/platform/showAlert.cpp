#include "platform/showAlert.h"

#include "platform/Localization.h"
#include "platform/ModalSession.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

void showMessage(QMessageBox::Icon icon, const char* objectName, const QString& title,
                 const QString& message) {
    QMessageBox alert(icon, localized(title), QString(), QMessageBox::NoButton, QApplication::activeWindow());
    alert.setObjectName(QString::fromLatin1(objectName));
    alert.setWindowTitle(localized(title));
    alert.setText(localized(title));
    alert.setInformativeText(localized(message));
    alert.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    ModalSession::run(alert);
}

} // namespace

void showAlert(const QString& title, const QString& message) {
    showMessage(QMessageBox::Warning, "showAlert", title, message);
}

void showNotice(const QString& title, const QString& message) {
    showMessage(QMessageBox::Information, "showNotice", title, message);
}
