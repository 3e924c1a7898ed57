#pragma once

#include "capture/CaptureDataReceiver.h"
#include "capture/captureData.h"
#include "platform/ui/ViewController.h"

#include <QByteArray>
#include <QImage>
#include <QList>
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
class CaptureViewController : public ViewController, public CaptureDataReceiver {
    Q_OBJECT

public:
    // What Save did.
    enum class SaveResult {
        Saved,   // the file was written
        Failed,  // the write failed; the user has been told
        Nothing, // no image or no name for the kind: nothing to write
    };

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

    void receiveCaptureData(const ::captureData& capture) override { captureData = capture; }

    // Keeps `url` as the destination ("captureBookMark") and shows it.
    void storeDestinationBookmark(const QUrl& url);
    // The folder of bookmark data; a stale bookmark is stored again.
    std::optional<QUrl> resolveDestinationBookmark(const QByteArray& bookmark);
    // The folder panel behind the folder button.
    void chooseDestinationFolder();
    // Writes the image of capture kind `kind` (0 window, 1 video frame, 2 frame and map).
    SaveResult saveCapture(const ::captureData& capture, int kind);
    // The file name (without extension) of kind `kind`; none for none_ch or a kind above 2.
    static std::optional<QString> captureFileName(const ::captureData& capture, int kind);
    // The images one below the other, all as wide as the first; none for no images.
    static std::optional<QImage> stackImagesVertically(const QList<QImage>& images);

public slots:
    void onCapturePlayerRadioTap();
    void onCaptureVideoRadioTap();
    void onCaptureVideoAndMap();
    void onCancelBtnTap();
    void onSaveBtnTap();
    void onURLBtnTap();

protected:
    void loadView() override;
    void viewDidLoad() override;
    void viewWillDisappear() override;

private:
    std::unique_ptr<Ui::CaptureViewController> ui;
};
