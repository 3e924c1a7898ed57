#include "capture/BackupViewController.h"
#include "library/FolderOpener.h"
#include "platform/system/LogCategories.h"

#include "controls/ViewLayer.h"
#include "ui_BackupViewController.h"

#include "capture/ClipBackup.h"
#include "platform/system/Bookmark.h"
#include "platform/system/Localization.h"
#include "platform/system/NotificationCenter.h"
#include "platform/system/UserDefaults.h"
#include "platform/ui/BusyCursor.h"
#include "platform/ui/OpenPanel.h"
#include "platform/ui/showAlert.h"
#include "shared/DefaultsKeys.h"
#include "shared/NotificationNames.h"
#include "shared/PlayerState.h"

#include <QCloseEvent>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QRadioButton>

namespace {

void print(const QString& text) {
    platform::logLine(platform::lcCapture(), text);
}

QString backupKey() {
    return QString::fromLatin1(DefaultsKey::kBackupBookMark);
}

} // namespace

BackupViewController::BackupViewController(QWidget* parent) : ViewController(parent) {}

BackupViewController::~BackupViewController() = default;

void BackupViewController::loadView() {
    ui = std::make_unique<Ui::BackupViewController>();
    ui->setupUi(this);
    ViewLayer::applyStoryboardLayers(this);
    urlTextField = ui->urlTextField;
    audioRadioBtn = ui->audioRadioBtn;
    videoRadioBtn = ui->videoRadioBtn;
}

void BackupViewController::viewDidLoad() {
    if (const std::optional<QByteArray> stored = UserDefaults::standard().data(backupKey())) {
        const std::optional<QUrl> url = resolveDestinationBookmark(*stored);
        if (!url) {
            print(QStringLiteral("nil bookMark url"));
        } else {
            directoryURL = *url;
            if (urlTextField)
                urlTextField->setText(url->toLocalFile());
        }
    } else {
        print(QStringLiteral("no bookmark"));
        const QString desktop = desktopFolder();
        directoryURL = QUrl::fromLocalFile(desktop);
        if (urlTextField)
            urlTextField->setText(desktop);
    }
    // Whatever the folder, a recording without sound offers the video alone.
    settleRadiosForSound();
}

void BackupViewController::settleRadiosForSound() {
    if (!currentRecording)
        return;
    const int audioCount = FFmpegInstance.getAudioStreamCount(recordingPath(currentRecording->url));
    print(QStringLiteral("audioCount = ") + QString::number(audioCount));
    if (audioCount != 0 || !audioRadioBtn || !videoRadioBtn)
        return;
    // The video radio first: the two are exclusive, so it turns the other off.
    videoRadioBtn->setChecked(true);
    audioRadioBtn->setChecked(false);
    audioRadioBtn->setEnabled(false);
}

void BackupViewController::viewWillDisappear() {
    NotificationCenter::defaultCenter().post(QString::fromLatin1(NotificationName::kRequestPlay));
}

void BackupViewController::storeDestinationBookmark(const QUrl& url) {
    storeFolderBookmark(url, backupKey());
    directoryURL = url;
    if (urlTextField)
        urlTextField->setText(url.toLocalFile());
}

std::optional<QUrl> BackupViewController::resolveDestinationBookmark(const QByteArray& bookmark) {
    return resolveBookmark(bookmark, backupKey());
}

void BackupViewController::chooseDestinationFolder() {
    QFileDialog panel(this);
    panel.setDirectory(desktopFolder());
    panel.setWindowTitle(localized("Choose directory to save"));
    panel.setLabelText(QFileDialog::Accept, localized("Set"));
    panel.setFileMode(QFileDialog::Directory);
    panel.setOption(QFileDialog::ShowDirsOnly, false);
    // No new folders from the panel.
    panel.setOption(QFileDialog::ReadOnly, true);
    if (OpenPanel::run(panel) != QDialog::Accepted)
        return;
    const QList<QUrl> chosen = panel.selectedUrls();
    if (chosen.isEmpty() || chosen.first().isEmpty()) {
        showAlert(QStringLiteral("Path Component Error"),
                  QStringLiteral("Please choose another directory.."));
        return;
    }
    storeDestinationBookmark(chosen.first());
}

void BackupViewController::startBackup() {
    if (!currentRecording || !audioRadioBtn || !videoRadioBtn)
        return;
    const bool audio = audioRadioBtn->isChecked();
    const bool video = videoRadioBtn->isChecked();
    if (audio && !video)
        backupRecording(*currentRecording, true);
    else if (!audio && video)
        backupRecording(*currentRecording, false);
}

void BackupViewController::backupRecording(const orvoTableModel& row, bool withExtra) {
    // Return pressed while the copies run (their wait handles the screen's keys) starts nothing new.
    if (m_backup)
        return;
    // The copies are waited for on the main thread; the screen stays painted and takes Cancel.
    const BusyCursor busy;
    Process::Cancellation cancellation;
    m_backup = &cancellation;
    disableControlsForBackup();
    // Read again: the panel may have changed it, and a stale bookmark is renewed.
    const QString folder =
        backupFolder([this](const QByteArray& bookmark) { return resolveDestinationBookmark(bookmark); });
    int videoStreams = 0;
    if (!row.row.merge) {
        FFmpeg reader;
        videoStreams = reader.getVideoStreamCount(recordingPath(row.url));
    }
    const QList<BackupOutput> outputs = backupOutputs(row, videoStreams);
    const QString name = recordingBaseName(row.url);
    const BackupOutcome outcome = runBackupOutputs(outputs, withExtra, folder, &cancellation);
    m_backup = nullptr;
    if (outcome.cancelled)
        print(QStringLiteral("backup cancelled"));
    else
        reportBackupResult(name, folder, outputs, outcome);
    dismissViewController(this);
}

void BackupViewController::disableControlsForBackup() {
    // Only Cancel stays: Escape and closing the screen cancel too. The screen closes after the backup.
    for (QWidget* control :
         {static_cast<QWidget*>(ui->saveBtn), static_cast<QWidget*>(ui->urlBtn),
          static_cast<QWidget*>(ui->audioRadioBtn), static_cast<QWidget*>(ui->videoRadioBtn)})
        control->setEnabled(false);
}

bool BackupViewController::runBackupRemux(int a, int b, bool withExtra, const QString& input,
                                          const QString& outputName, const QString& folder) {
    return ::runBackupRemux(a, b, withExtra, input, outputName, folder);
}

QStringList BackupViewController::ffmpegRemuxArguments(int a, int b, bool withExtra, const QString& input,
                                                       const QString& output) {
    return ::ffmpegRemuxArguments(a, b, withExtra, input, output);
}

void BackupViewController::onURLBtnTap() {
    chooseDestinationFolder();
}

void BackupViewController::onAudioRadioBtnTap() {
    if (!audioRadioBtn || !videoRadioBtn)
        return;
    // The two radios are always opposite.
    videoRadioBtn->setChecked(!audioRadioBtn->isChecked());
}

void BackupViewController::onVideoRadioBtnTap() {
    if (!audioRadioBtn || !videoRadioBtn)
        return;
    audioRadioBtn->setChecked(!videoRadioBtn->isChecked());
}

void BackupViewController::onCancelBtnTap() {
    // A backup under way is stopped; it closes the screen when it has unwound.
    if (m_backup) {
        m_backup->cancel();
        return;
    }
    dismissViewController(this);
}

bool BackupViewController::cancelOperation() {
    onCancelBtnTap();
    return true;
}

void BackupViewController::closeEvent(QCloseEvent* event) {
    if (m_backup) {
        m_backup->cancel();
        event->ignore();
        return;
    }
    ViewController::closeEvent(event);
}

void BackupViewController::onSaveBtnTap() {
    startBackup();
}
