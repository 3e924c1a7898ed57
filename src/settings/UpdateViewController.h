#pragma once

#include "platform/ui/ViewController.h"

#include <QPointer>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

class QLabel;

namespace Ui {
class UpdateViewController;
}

// The update screen: offers the newer version found at start-up, with the
// choices Update, Settings and Cancel.
class UpdateViewController : public ViewController {
    Q_OBJECT
    // How a presenter hands over the installer address without knowing this class.
    Q_PROPERTY(QUrl installerURL READ installerURL WRITE setInstallerURL)

public:
    explicit UpdateViewController(QWidget* parent = nullptr);
    ~UpdateViewController() override;

    QPointer<QLabel> titleLabel;
    QPointer<QLabel> infoLabel;
    // The installer's address, set by the presenting segue.
    std::optional<QUrl> updateURL;
    QUrl installerURL() const { return updateURL.value_or(QUrl()); }
    void setInstallerURL(const QUrl& url) { updateURL = url; }
    // The application name, read when the view loads.
    std::optional<QString> appName;

    // Update: the download screen with the installer's address and the
    // application name; nothing without either.
    void proceedToInstallerDownload();
    // Cancel: the screen closes, then "cancelUpdate" is posted.
    void declineUpdate();

public slots:
    void onUpdateBtnTap();
    void onSettingBtnTap();
    void onCancelBtnTap();

protected:
    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear() override;
    void prepareForSegue(const StoryboardSegue& segue, const QVariant& sender) override;
    // Escape: as the Cancel button.
    bool cancelOperation() override;

private:
    std::unique_ptr<Ui::UpdateViewController> ui;
};
