#pragma once

#include "capture/BackupDataReceiver.h"
#include "capture/backupData.h"
#include "metadata/FFmpeg.h"
#include "metadata/orvoTableModel.h"
#include "platform/system/Process.h"
#include "platform/ui/ViewController.h"

#include <QByteArray>
#include <QPointer>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <optional>

class QCloseEvent;
class QLineEdit;
class QRadioButton;

namespace Ui {
class BackupViewController;
}

// The clip backup screen: the destination folder and whether the sound is
// copied with the video. Save copies the current recording's streams into
// MOV files of that folder and closes the screen; while it copies, the
// screen's controls are off and Escape, Cancel or closing the screen stop the
// copy, leaving nothing of it. Every ending posts "requestPlay".
class BackupViewController : public ViewController, public BackupDataReceiver {
    Q_OBJECT

public:
    explicit BackupViewController(QWidget* parent = nullptr);
    ~BackupViewController() override;

    QPointer<QLineEdit> urlTextField;
    QPointer<QRadioButton> audioRadioBtn;
    QPointer<QRadioButton> videoRadioBtn;
    // The recording to back up, set by the presenting segue. The backup itself
    // works from currentRecording, which is the same recording.
    std::optional<::backupData> backupData;
    // The destination folder shown in urlTextField.
    std::optional<QUrl> directoryURL;
    // Asked for the recording's sound streams when the view loads.
    FFmpeg FFmpegInstance;

    void setBackupData(const ::backupData& payload) override { backupData = payload; }

    // Keeps `url` under "backupBookMark" and shows it as the destination.
    void storeDestinationBookmark(const QUrl& url);
    // The folder of bookmark data; a stale bookmark is stored again.
    std::optional<QUrl> resolveDestinationBookmark(const QByteArray& bookmark);
    // The folder panel.
    void chooseDestinationFolder();
    // Save: the backup of the current recording by the chosen radio.
    void startBackup();
    // Copies the outputs of `row` into the backup folder, tells the user which
    // could not be written (nothing after a cancel), and closes the screen.
    // Nothing happens while a backup is under way.
    void backupRecording(const orvoTableModel& row, bool withExtra);
    // One copy (see ClipBackup.h).
    bool runBackupRemux(int a, int b, bool withExtra, const QString& input, const QString& outputName,
                        const QString& folder);
    static QStringList ffmpegRemuxArguments(int a, int b, bool withExtra, const QString& input,
                                            const QString& output);

public slots:
    void onURLBtnTap();
    void onAudioRadioBtnTap();
    void onVideoRadioBtnTap();
    void onCancelBtnTap();
    void onSaveBtnTap();

protected:
    void loadView() override;
    void viewDidLoad() override;
    void viewWillDisappear() override;
    // Escape: as the Cancel button, also during a backup.
    bool cancelOperation() override;
    // Closing the screen during a backup cancels the backup, which then closes it.
    void closeEvent(QCloseEvent* event) override;

private:
    // The audio check: a recording without sound can only be copied as video.
    void settleRadiosForSound();
    void disableControlsForBackup();
    std::unique_ptr<Ui::BackupViewController> ui;
    // The backup under way, if any.
    Process::Cancellation* m_backup = nullptr;
};
