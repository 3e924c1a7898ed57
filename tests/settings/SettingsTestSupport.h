#pragma once

// Shared pieces of the settings tests: alerts answered and recorded, the
// Downloads folder moved into a temporary folder, and the services pointed at
// the local test server (zip archives come from common/ZipArchives.h).

#include "common/EventLoopWait.h"
#include "common/ZipArchives.h"

#include "shared/ServiceConfig.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QTimer>

#include <zip.h>

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace settingstest {

using ziptest::patchZipEntry;
using ziptest::readAll;
using ziptest::SmallVolume;
using ziptest::writeFile;
using ziptest::writeZip;
using ziptest::zipBytes;
using ziptest::ZipEntry;

// Every alert shown while it lives is recorded (title key, message key) and
// answered with OK.
class AlertCatcher {
public:
    struct Alert {
        QString title;
        QString message;
    };

    AlertCatcher() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(widget);
                if (!box || !box->isVisible() || box->objectName() != QLatin1String("showAlert"))
                    continue;
                alerts.append({box->text(), box->informativeText()});
                box->accept();
            }
        });
        m_timer.start(10);
    }

    QStringList titles() const {
        QStringList list;
        for (const Alert& alert : alerts)
            list.append(alert.title);
        return list;
    }
    QStringList messages() const {
        QStringList list;
        for (const Alert& alert : alerts)
            list.append(alert.message);
        return list;
    }

    QList<Alert> alerts;

private:
    QTimer m_timer;
};

// Moves the XDG Downloads folder to `folder` (the config home is the test's own).
inline void setDownloadsFolder(const QString& folder) {
    const QString config = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
    QDir().mkpath(config);
    QFile file(config + QStringLiteral("/user-dirs.dirs"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write("XDG_DOWNLOAD_DIR=\"" + QFile::encodeName(folder) + "\"\n");
}

// A click at the centre of `target` delivered, as the window system does, to
// the widget under the pointer there (an overlay, when one covers `target`);
// the widget that got it.
inline QWidget* clickOver(QWidget* target) {
    QWidget* window = target->window();
    const QPoint centre = target->mapTo(window, target->rect().center());
    QWidget* hit = window->childAt(centre);
    if (!hit)
        hit = window;
    const QPointF local = hit->mapFrom(window, centre);
    const QPointF global = hit->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(hit, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(hit, &release);
    return hit;
}

// A key pressed and released in `window`, sent to its focused widget.
inline void pressKey(QWidget* window, Qt::Key key) {
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
}

// Points every service at `base` ("http://127.0.0.1:port").
inline void useServices(const QString& base, const QStringList& boardModels = {}) {
    QJsonObject config;
    for (const char* key : {"updateServer", "downloadServer", "englishProductSite", "koreanSite"})
        config.insert(QLatin1String(key), base);
    config.insert(QStringLiteral("speedCamBoardModels"), QJsonArray::fromStringList(boardModels));
    setServiceConfigOverride(config);
}

} // namespace settingstest

namespace settingstest {

// Standard output of a block, as lines.
template <typename Block> QStringList printedLines(Block&& block) {
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    block();
    std::fflush(stdout);
    const QString text = QString::fromStdString(testing::internal::GetCapturedStdout());
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace settingstest
