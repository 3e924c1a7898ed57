#pragma once

// Shared pieces of the settings tests: alerts answered and recorded, the
// Downloads folder moved into a temporary folder, zip archives written with
// libzip, and the services pointed at the local test server.

#include "common/EventLoopWait.h"

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

struct ZipEntry {
    QByteArray name;
    QByteArray data;
    // A symbolic link to `data` instead of a file.
    bool isSymlink = false;
};

// Writes a zip archive of `entries` at `path`; false when libzip refuses.
inline bool writeZip(const QString& path, const QList<ZipEntry>& entries) {
    QFile::remove(path);
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    for (const ZipEntry& entry : entries) {
        if (entry.name.endsWith('/')) {
            if (zip_dir_add(archive, entry.name.constData(), ZIP_FL_ENC_UTF_8) < 0) {
                zip_discard(archive);
                return false;
            }
            continue;
        }
        // The data is copied by libzip at close time: keep it alive until then.
        void* copy = malloc(std::size_t(std::max<qsizetype>(1, entry.data.size())));
        memcpy(copy, entry.data.constData(), std::size_t(entry.data.size()));
        zip_source_t* source = zip_source_buffer(archive, copy, zip_uint64_t(entry.data.size()), 1);
        const zip_int64_t index = source ? zip_file_add(archive, entry.name.constData(), source,
                                                        ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE)
                                         : -1;
        if (index < 0) {
            if (source)
                zip_source_free(source);
            zip_discard(archive);
            return false;
        }
        if (entry.isSymlink)
            zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                             zip_uint32_t(S_IFLNK | 0777) << 16);
    }
    return zip_close(archive) == 0;
}

inline QByteArray zipBytes(const QString& scratchPath, const QList<ZipEntry>& entries) {
    if (!writeZip(scratchPath, entries))
        return {};
    QFile file(scratchPath);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Changes a 32-bit field of entry `index` in both its local and its central
// header of a zip archive made by writeZip (CRC: 14 and 16; unpacked size:
// 22 and 24), so that the two still agree.
inline bool patchZipEntry(QByteArray& zip, int index, int localOffset, int centralOffset, quint32 value) {
    auto u16 = [&zip](qsizetype at) { return qsizetype(quint8(zip[at]) | quint8(zip[at + 1]) << 8); };
    auto u32 = [&](qsizetype at) { return qsizetype(u16(at) | u16(at + 2) << 16); };
    auto put = [&zip](qsizetype at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            zip[at + i] = char((v >> (8 * i)) & 0xff);
    };
    const qsizetype end = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (end < 0)
        return false;
    qsizetype central = u32(end + 16);
    for (int i = 0; i < index; ++i)
        central += 46 + u16(central + 28) + u16(central + 30) + u16(central + 32);
    if (zip.mid(central, 4) != QByteArray("PK\x01\x02", 4))
        return false;
    const qsizetype local = u32(central + 42);
    if (zip.mid(local, 4) != QByteArray("PK\x03\x04", 4))
        return false;
    put(local + localOffset, value);
    put(central + centralOffset, value);
    return true;
}

// A small tmpfs at `path` while the object lives, when the process may mount
// one (as root); otherwise mounted() is false and the folder is a plain one.
class SmallVolume {
public:
    SmallVolume(const QString& path, qint64 bytes) : m_path(path) {
        QDir().mkpath(path);
        const QByteArray options = "size=" + QByteArray::number(bytes);
        m_mounted = ::geteuid() == 0 && ::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", 0,
                                                options.constData()) == 0;
    }
    ~SmallVolume() {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
    }
    SmallVolume(const SmallVolume&) = delete;
    SmallVolume& operator=(const SmallVolume&) = delete;

    bool mounted() const { return m_mounted; }
    // Remounts the volume read-only (or writable again).
    bool setReadOnly(bool readOnly) {
        return m_mounted && ::mount("tmpfs", QFile::encodeName(m_path).constData(), "tmpfs",
                                    MS_REMOUNT | (readOnly ? MS_RDONLY : 0), nullptr) == 0;
    }

private:
    QString m_path;
    bool m_mounted = false;
};

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

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(data);
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
