#pragma once

#include "platform/ViewController.h"
#include "player/captureData.h"

#include <QPointer>
#include <QUrl>

#include <memory>
#include <optional>

class QLineEdit;
class QRadioButton;

namespace Ui {
class CaptureViewController;
}

// The still-capture screen: what to save (the application window, the
// video frame, or the video frame with the map below it) and where.
class CaptureViewController : public ViewController {
    Q_OBJECT

public:
    explicit CaptureViewController(QWidget* parent = nullptr);
    ~CaptureViewController() override;

    QPointer<QLineEdit> urlTextField;
    QPointer<QRadioButton> capturePlayerRadio;
    QPointer<QRadioButton> captureVideoRadio;
    QPointer<QRadioButton> captureVideoAndMapRadio;
    // The images and names of this capture, set by the presenting segue.
    std::optional<::captureData> captureData;
    // The destination folder shown in urlTextField.
    std::optional<QUrl> directoryURL;

public slots:
    void onCapturePlayerRadioTap();
    void onCaptureVideoRadioTap();
    void onCaptureVideoAndMap();
    void onCancelBtnTap();
    void onSaveBtnTap();
    void onURLBtnTap();

protected:
    void loadView() override;

private:
    std::unique_ptr<Ui::CaptureViewController> ui;
};
