#pragma once

// Shared pieces of the settings tests: alerts answered and recorded, the
// Downloads folder moved into a temporary folder, zip archives written with
// libzip, and the services pointed at the local test server.

#include "common/EventLoopWait.h"

#include "player/ServiceConfig.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>

#include <zip.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

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
