#pragma once

#include "platform/ViewController.h"
#include "player/backupData.h"

#include <QPointer>
#include <QUrl>

#include <memory>
#include <optional>

class QLineEdit;
class QRadioButton;

namespace Ui {
class BackupViewController;
}

// The clip backup screen: the destination folder and whether the sound is
// copied with the video.
class BackupViewController : public ViewController {
    Q_OBJECT

public:
    explicit BackupViewController(QWidget* parent = nullptr);
    ~BackupViewController() override;

    QPointer<QLineEdit> urlTextField;
    QPointer<QRadioButton> audioRadioBtn;
    QPointer<QRadioButton> videoRadioBtn;
    // The recording to back up, set by the presenting segue.
    std::optional<::backupData> backupData;
    // The destination folder shown in urlTextField.
    std::optional<QUrl> directoryURL;

public slots:
    void onURLBtnTap();
    void onAudioRadioBtnTap();
    void onVideoRadioBtnTap();
    void onCancelBtnTap();
    void onSaveBtnTap();

protected:
    void loadView() override;

private:
    std::unique_ptr<Ui::BackupViewController> ui;
};
