#pragma once

#include "platform/ViewController.h"

#include <QByteArray>
#include <QPointer>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <optional>

#include "platform/Http.h"
class QCheckBox;
class QKeyEvent;
class QLabel;
class QProgressBar;
class QWidget;
class OrvoPopupBtnCell;
class UpdateProgressView;

namespace Ui {
class SettingViewController;
}

// The settings screen: interface language, automatic update, the player's
// version, the memory card's capacity and the card downloads. The language
// and the update switch are stored by Confirm; the screen closes without
// storing anything with Escape or its Close button.
class SettingViewController : public ViewController {
    Q_OBJECT

public:
    explicit SettingViewController(QWidget* parent = nullptr);
    ~SettingViewController() override;

    QPointer<QWidget> volumeView;
    QPointer<QLabel> volumeTxt;
    QPointer<QProgressBar> volumeProgress;
    QPointer<QWidget> updateView;
    QPointer<OrvoPopupBtnCell> languageMenu;
    QPointer<QLabel> versionTxt;
    QPointer<QWidget> autoView;
    QPointer<QCheckBox> autoUpdateBox;
    // The spinner shown during card downloads.
    QPointer<QProgressBar> updateProgress;
    // The overlay over the screen during card downloads.
    QPointer<UpdateProgressView> updateProgressView;
    // The language chosen in the menu during this showing; none until one is picked.
    std::optional<QStringList> langunage;

    // The card folder of bookmark data: only the folder named after cardModel.
    std::optional<QUrl> resolveCardBookmark(const QByteArray& bookmark);
    // Fills the capacity text and bar from the card's file system.
    void showCardCapacity();
    // Compares the version page's offer for `model` with `version` and
    // downloads the firmware package onto the card.
    void checkFirmwareUpdate(const QString& model, const QString& version, const QString& html);
    // Fetches the firmware version page, then checkFirmwareUpdate.
    void requestFirmwareVersionPage(const QString& model, const QString& version);
    // The firmware button.
    void updateFirmware();
    // The speed-camera button.
    void updateSpeedCamData();
    // The language menu's choice, kept until Confirm.
    void selectLanguage(OrvoPopupBtnCell* menu);
    // Confirm: stores the update switch and the chosen language, then closes.
    void confirmSettings();

    // The card download that is running, if any.
    HttpDownload* runningCardDownload() const { return m_cardDownload; }

public slots:
    void onLanguageMenuTap();
    void onConfirmBtnTap();
    void onFirmUpdateBtnTap();
    void onSpeedUpdateBtnTap();
    void onCloseBtnTap();

protected:
    void loadView() override;
    void viewDidLoad() override;
    void viewDidLayout() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The route of both download buttons for the stored language: true for
    // Korean; otherwise the English page is opened (or nothing) and false.
    bool takeKoreanRoute();
    void showDownloadOverlay();
    void hideDownloadOverlay();
    // The card folder for a download: the bookmarked card, when there is one.
    std::optional<QUrl> bookmarkedCardFolder();
    // Downloads `url` into the card root as `archiveName` and unpacks it there.
    void downloadCardPackage(const QUrl& url, const QUrl& cardFolder, const QString& archiveName,
                             const QString& title);
    // The end of a card download: unpack, delete the archive, tell the user.
    void cardDownloadFinished(const QString& title, const QUrl& cardFolder,
                              const HttpDownloadResponse& response);

    std::unique_ptr<Ui::SettingViewController> ui;
    QPointer<HttpDownload> m_cardDownload;
};
