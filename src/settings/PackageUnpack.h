#pragma once

#include "platform/system/Unzip.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <thread>

// A downloaded package unpacked onto the card on a thread of its own, so that
// the window stays responsive: all or nothing (see unzipArchive), and the
// archive is removed when the unpacking ends, whatever its result. Progress
// and the completion are delivered on the main thread.
class PackageUnpack : public QObject {
    Q_OBJECT

public:
    using Progress = std::function<void(qint64 written, qint64 total)>;
    // The result, and the reason the archive could not be removed (empty when it was).
    using Completion = std::function<void(const UnzipResult& result, const QString& removalError)>;

    PackageUnpack(const QString& archivePath, const QString& folder, Progress progress, Completion completion,
                  QObject* parent);
    // Cancels a running unpacking and waits for it.
    ~PackageUnpack() override;

    // Stops the unpacking and waits until what it wrote and the archive are
    // removed; the completion is not called. Nothing happens once it has ended.
    void cancel();
    bool isFinished() const { return m_finished; }

private:
    void finish(const UnzipResult& result, const QString& removalError);

    Progress m_progress;
    Completion m_completion;
    std::atomic<bool> m_cancelled{false};
    std::atomic<int> m_lastPermille{-1};
    bool m_finished = false;
    std::thread m_thread;
};
