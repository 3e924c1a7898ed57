#include "settings/PackageUnpack.h"

#include <QFile>
#include <QMetaObject>

#include <cerrno>
#include <cstring>
#include <unistd.h>

PackageUnpack::PackageUnpack(const QString& archivePath, const QString& folder, Progress progress,
                             Completion completion, QObject* parent)
    : QObject(parent), m_progress(std::move(progress)), m_completion(std::move(completion)) {
    m_thread = std::thread([this, archivePath, folder] {
        UnzipOptions options;
        options.cancelled = &m_cancelled;
        options.progress = [this](qint64 written, qint64 total) {
            // One report per thousandth is plenty for a bar.
            const int permille = total > 0 ? int(written * 1000 / total) : 0;
            if (m_lastPermille.exchange(permille) == permille)
                return;
            QMetaObject::invokeMethod(
                this,
                [this, written, total] {
                    if (!m_finished && m_progress)
                        m_progress(written, total);
                },
                Qt::QueuedConnection);
        };
        const UnzipResult result = unzipArchive(archivePath, folder, options);
        QString removalError;
        if (::unlink(QFile::encodeName(archivePath).constData()) != 0 && errno != ENOENT)
            removalError = QString::fromLocal8Bit(std::strerror(errno));
        QMetaObject::invokeMethod(
            this, [this, result, removalError] { finish(result, removalError); }, Qt::QueuedConnection);
    });
}

PackageUnpack::~PackageUnpack() {
    cancel();
}

void PackageUnpack::cancel() {
    m_cancelled = true;
    if (m_thread.joinable())
        m_thread.join();
    m_finished = true;
}

void PackageUnpack::finish(const UnzipResult& result, const QString& removalError) {
    if (m_finished)
        return;
    m_finished = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_completion) {
        // The completion may destroy this object's parent, and so this object.
        const Completion completion = std::move(m_completion);
        m_completion = {};
        completion(result, removalError);
    }
}
