#include "player/showAlert.h"

#include "platform/Localization.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

void showAlert(const QString& title, const QString& message) {
    QMessageBox alert(QMessageBox::Warning, localized(title), QString(), QMessageBox::NoButton,
                      QApplication::activeWindow());
    alert.setObjectName(QStringLiteral("showAlert"));
    alert.setWindowTitle(localized(title));
    alert.setText(localized(title));
    alert.setInformativeText(localized(message));
    alert.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    alert.exec();
}
