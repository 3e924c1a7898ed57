#pragma once

class QDialog;
class QWidget;

// Modal panels and alerts, and the window that takes the keys again when one closes. Nothing
// else hands the keyboard back: without a window manager the focus would stay on the desktop's
// root window, and the window that opened the dialog would take no key until it was clicked.
namespace ModalSession {

// Runs `dialog` modally (QDialog::exec) and makes the window that was active before it active
// again when it ends. Returns the dialog's result.
int run(QDialog& dialog);

// Makes `window` the active window, raised and taking the keys, when it is still shown.
void activate(QWidget* window);

} // namespace ModalSession
