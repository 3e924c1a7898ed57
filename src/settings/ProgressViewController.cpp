#include "settings/ProgressViewController.h"

#include "controls/ViewLayer.h"
#include "platform/system/LogCategories.h"
#include "settings/FailureText.h"
#include "ui_ProgressViewController.h"

#include "platform/system/FileManager.h"
#include "platform/system/Http.h"
#include "platform/system/MainQueue.h"
#include "platform/system/NotificationCenter.h"
#include "platform/ui/showAlert.h"
#include "shared/NotificationNames.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>

namespace {

void print(const QString& text) {
    platform::logLine(platform::lcSettings(), text);
}

} // namespace

ProgressViewController::ProgressViewController(QWidget* parent) : ViewController(parent) {}

ProgressViewController::~ProgressViewController() = default;

void ProgressViewController::loadView() {
    ui = std::make_unique<Ui::ProgressViewController>();
    ui->setupUi(this);
    ViewLayer::applyStoryboardLayers(this);
    progressLabel = ui->progressLabel;
    downloadProgressBar = ui->downloadProgressBar;
    cancelBtn = ui->cancelBtn;
}

void ProgressViewController::viewDidLoad() {
    startInstallerDownload();
}

void ProgressViewController::viewDidAppear() {
    // The window shows no title of its own.
    if (isWindow())
        setWindowTitle(QStringLiteral(" "));
}

void ProgressViewController::viewDidDisappear() {}

void ProgressViewController::onCancelBtnTap() {
    cancelInstallerDownload();
}

bool ProgressViewController::cancelOperation() {
    cancelInstallerDownload();
    return true;
}

std::optional<QString> ProgressViewController::installerDestination(const QUrl& url,
                                                                    const QString& downloadsFolder) {
    const QString name = url.fileName(QUrl::FullyDecoded);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        name.contains(QLatin1Char('/')) || name.contains(QChar(0)) || downloadsFolder.isEmpty())
        return std::nullopt;
    const QString folder = QDir(downloadsFolder).absolutePath();
    const QString path = QDir(folder).filePath(name);
    if (QFileInfo(path).absolutePath() != folder)
        return std::nullopt;
    return path;
}

void ProgressViewController::startInstallerDownload() {
    if (!downloadURL || !name)
        return;
    if (downloadRequest) {
        print(QStringLiteral("downloading already"));
        return;
    }
    const std::optional<QString> destination =
        installerDestination(*downloadURL, FileManager::downloadsDirectory());
    if (!destination) {
        // Reported like a failed download: the screen closes once it is up.
        HttpDownloadResponse refused;
        refused.url = *downloadURL;
        refused.failure = HttpDownloadResponse::Failure::Refused;
        refused.error = QStringLiteral("The installer's address names no file.");
        mainQueueAsync(this, [this, refused] { installerDownloadFinished(refused); });
        return;
    }
    downloadRequest = Http::download(
        *downloadURL, *destination, this,
        [this](const HttpProgress& progress) {
            if (progressLabel)
                progressLabel->setText(QString::number(progress.completedUnitCount) +
                                       QStringLiteral(" bytes"));
            const double fraction = progress.fractionCompleted();
            if (downloadProgressBar)
                downloadProgressBar->setValue(
                    downloadProgressBar->minimum() +
                    int(fraction * (downloadProgressBar->maximum() - downloadProgressBar->minimum())));
            print(QStringLiteral("progress - ") + QString::number(fraction));
        },
        [this](const HttpDownloadResponse& response) { installerDownloadFinished(response); });
}

void ProgressViewController::installerDownloadFinished(const HttpDownloadResponse& response) {
    print(response.description());
    if (response.failure != HttpDownloadResponse::Failure::None) {
        dismissViewController(this);
        // What failed is said once the screen has gone; a cancelled download ends quietly.
        const QString folder = FileManager::downloadsDirectory();
        if (const std::optional<QString> reason = FailureText::download(response, folder, false))
            mainQueueAsync(
                [reason] { showAlert(QStringLiteral("The update could not be downloaded."), *reason); });
        return;
    }
    if (!response.fileURL)
        return;
    print(response.fileURL->toLocalFile());
    dismissViewController(this);
    const QUrl file = *response.fileURL;
    // Observers run once the screen has gone.
    mainQueueAsync([file] {
        NotificationCenter::defaultCenter().post(
            QLatin1String(NotificationName::kInstallerDownloadComplete), nullptr,
            QVariantMap{{QLatin1String(NotificationUserInfoKey::kDownloadPath), QVariant(file)}});
    });
}

void ProgressViewController::cancelInstallerDownload() {
    if (!downloadRequest || downloadRequest->isFinished()) {
        dismissViewController(this);
        return;
    }
    downloadRequest->cancel();
}
