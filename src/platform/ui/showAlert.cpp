#include "platform/ui/showAlert.h"

#include "platform/system/Localization.h"
#include "platform/ui/ModalSession.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {

// Gives the message's label room for its longest line, as far as the screen allows. Without it
// the box takes the width of the message's longest word, and a text without spaces (Japanese),
// which may break between any two letters, breaks inside words to fit it.
void keepLinesWhole(QMessageBox& alert, const QString& message) {
    QLabel* shown = nullptr;
    for (QLabel* label : alert.findChildren<QLabel*>()) {
        if (label->text() == message)
            shown = label;
    }
    const QScreen* screen = alert.screen();
    if (!shown || !screen)
        return;
    // The width the label asks for when it does not wrap.
    shown->setWordWrap(false);
    const int widest = shown->sizeHint().width();
    shown->setWordWrap(true);
    // The box stays within a screen up to 1024 px wide, else within 480 px less than the screen
    // and 1000 px, and breaks lines anywhere beyond that: the label leaves 100 px of it to the
    // icon and the margins, and is never wider than 800 px.
    const int screenWidth = screen->availableGeometry().width();
    const int boxLimit = screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
    shown->setMinimumWidth(std::min(widest, std::max(0, std::min(boxLimit - 100, 800))));
}

void showMessage(QMessageBox::Icon icon, const char* objectName, const QString& title,
                 const QString& message) {
    QMessageBox alert(icon, localized(title), QString(), QMessageBox::NoButton, QApplication::activeWindow());
    alert.setObjectName(QString::fromLatin1(objectName));
    alert.setWindowTitle(localized(title));
    alert.setText(localized(title));
    alert.setInformativeText(localized(message));
    keepLinesWhole(alert, localized(message));
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
