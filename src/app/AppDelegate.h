#pragma once

#include <QObject>
#include <QPointer>

class QMainWindow;

// The application delegate: gives the whole application its dark appearance
// when launching has finished.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    explicit AppDelegate(QObject* parent = nullptr) : QObject(parent) {}

    // The application's window; absent until the window is made.
    QPointer<QMainWindow> window;

    // Sets the dark appearance (Fusion style, dark palette) on the application.
    void applicationDidFinishLaunching();
    // Nothing is cleaned up or saved at the end.
    void applicationWillTerminate() {}

    // The dark palette the application uses.
    static QPalette darkPalette();
};
