#pragma once

#include "platform/ui/ViewController.h"

#include <QPointer>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

#include "platform/system/Http.h"
class QLabel;
class QProgressBar;
class QPushButton;

namespace Ui {
class ProgressViewController;
}

// The installer download screen: the received byte count and the fraction
// done, with a Cancel button. The download starts when the view loads; when
// it has finished the screen closes and "installerDownloadComplete" is posted.
class ProgressViewController : public ViewController {
    Q_OBJECT

public:
    explicit ProgressViewController(QWidget* parent = nullptr);
    ~ProgressViewController() override;

    QPointer<QLabel> progressLabel;
    QPointer<QProgressBar> downloadProgressBar;
    QPointer<QPushButton> cancelBtn;
    // The installer's address and the application name, from the update screen.
    std::optional<QUrl> downloadURL;
    std::optional<QString> name;
    // The running download; empty until it starts.
    QPointer<HttpDownload> downloadRequest;

    // Downloads `downloadURL` into the Downloads folder under the last path
    // component of its address, replacing an older file of that name.
    void startInstallerDownload();
    // Cancel: a running download is cancelled (its end closes the screen);
    // without one the screen closes at once.
    void cancelInstallerDownload();

    // Where the installer of `url` is saved in `downloadsFolder`: the last
    // path component of the address; none when that name is empty, ".", ".."
    // or would leave the folder.
    static std::optional<QString> installerDestination(const QUrl& url, const QString& downloadsFolder);

public slots:
    void onCancelBtnTap();

protected:
    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear() override;
    void viewDidDisappear() override;
    // Escape: as the Cancel button.
    bool cancelOperation() override;

private:
    void installerDownloadFinished(const HttpDownloadResponse& response);

    std::unique_ptr<Ui::ProgressViewController> ui;
};
