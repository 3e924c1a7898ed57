#pragma once

#include <QString>

// Shows a warning alert whose title and message are looked up in the string
// table "Localizable" (a text that is no key shows as it is), with one "OK"
// button, and returns when the user has pressed it. Main thread.
void showAlert(const QString& title, const QString& message);

// The same as an information notice (a task ended as asked), with its "OK" button.
void showNotice(const QString& title, const QString& message);
