#pragma once

#include "platform/ui/ViewController.h"

#include <QByteArray>
#include <QPointer>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <optional>

#include "platform/system/Http.h"
class QCheckBox;
class QLabel;
class QProgressBar;
class QWidget;
class OrvoPopupBtnCell;
class PackageUnpack;
class UpdateProgressView;
struct UnzipResult;

namespace Ui {
class SettingViewController;
}

// The settings screen: interface language, automatic update, the player's
// version, the memory card's capacity and the card downloads. The language
// and the update switch are stored by Confirm; the screen closes without
// storing anything with Escape or its Close button, which also cancel a card
// download or unpacking at any time, leaving the card as it was.
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
    // downloads the firmware package onto the card; `html` is UTF-8 text.
    void checkFirmwareUpdate(const QString& model, const QString& version, const QByteArray& html);
    // Fetches the firmware version page, then checkFirmwareUpdate; one fetch
    // at a time, given up at CardPackages::versionPageDeadline with an alert.
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
    // Whether a card download or the unpacking of its package is under way.
    bool isCardWorkRunning() const;

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
    // Escape: as the Close button.
    bool cancelOperation() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The route of both download buttons for the stored language: true for
    // Korean; otherwise the English page is opened (or nothing) and false.
    bool takeKoreanRoute();
    void showDownloadOverlay();
    void hideDownloadOverlay();
    // The overlay's bar: the fraction done, or busy while the total is unknown.
    void showOverlayProgress(qint64 done, qint64 total);
    // The overlay leaves the Close button uncovered, so that it can be pressed.
    void updateOverlayMask();
    // Stops a card download or unpacking; what it wrote is removed.
    void cancelCardWork();
    // The card folder for a download: the bookmarked card, when there is one.
    std::optional<QUrl> bookmarkedCardFolder();
    // Downloads `url` into the card root as `archiveName` and unpacks it there.
    void downloadCardPackage(const QUrl& url, const QUrl& cardFolder, const QString& archiveName,
                             const QString& title);
    // The end of a card download: unpack, delete the archive, tell the user.
    void cardDownloadFinished(const QString& title, const QUrl& cardFolder,
                              const HttpDownloadResponse& response);
    // The end of the unpacking of a downloaded package.
    void cardUnpackFinished(const QString& title, const UnzipResult& result, const QString& removalError);

    std::unique_ptr<Ui::SettingViewController> ui;
    QPointer<HttpDownload> m_cardDownload;
    QPointer<PackageUnpack> m_cardUnpack;
    bool m_versionPageRequested = false;
};
