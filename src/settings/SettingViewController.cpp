#include "settings/SettingViewController.h"

#include "controls/AssetColor.h"
#include "controls/OrvoPopupBtnCell.h"
#include "controls/UpdateProgressView.h"
#include "controls/ViewLayer.h"
#include "platform/system/LogCategories.h"
#include "ui_SettingViewController.h"

#include "settings/CardPackages.h"
#include "settings/PackageUnpack.h"

#include "platform/system/Bookmark.h"
#include "platform/system/Bundle.h"
#include "platform/system/FileManager.h"
#include "platform/system/Http.h"
#include "platform/system/Localization.h"
#include "platform/system/UserDefaults.h"
#include "platform/ui/Assets.h"
#include "platform/ui/showAlert.h"
#include "shared/DefaultsKeys.h"
#include "shared/PlayerState.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegion>

namespace {

void print(const QString& text) {
    platform::logLine(platform::lcSettings(), text);
}

QString key(const char* name) {
    return QString::fromLatin1(name);
}

// The language table: menu position, title, stored value.
struct LanguageRow {
    const char* title;
    const char* code;
};
constexpr LanguageRow kLanguages[] = {{"English", "en"}, {"한글", "ko"}, {"日本語", "ja"}};

QString listText(const QStringList& list) {
    QStringList quoted;
    for (const QString& text : list)
        quoted.append(QLatin1Char('"') + text + QLatin1Char('"'));
    return QLatin1Char('[') + quoted.join(QStringLiteral(", ")) + QLatin1Char(']');
}

void setLayerColor(QWidget* view, const QColor& color) {
    if (view && ViewLayer::backgroundColor(view) != color)
        ViewLayer::setBackgroundColor(view, color);
}

// Whether the address a download button goes to in the running interface is
// configured: the English download page outside Korean; in Korean the
// firmware version page (a card with model and version) or the firmware
// board, and the speed-camera package or, for the board's models, the board.
bool downloadServiceConfigured(bool firmware) {
    using namespace CardPackages;
    switch (routeForLanguages(interfaceLanguages())) {
    case Route::EnglishPage:
    case Route::MissingLanguage:
        return englishDownloadPageURL().has_value();
    case Route::Korean:
        break;
    case Route::Unsupported:
        return true; // the button only says why it does nothing
    }
    const bool card = cardModel && !cardModel->isEmpty() && cardVersion && !cardVersion->isEmpty();
    if (firmware)
        return (card ? firmwareVersionPageURL() : koreanFirmwareBoardURL()).has_value();
    if (!card || speedCamBoardModels().contains(*cardModel))
        return koreanFirmwareBoardURL().has_value();
    return speedCamPackageURL().has_value();
}

// A download button whose service is not configured cannot be pressed, and says why.
void offerDownload(QWidget* button, bool configured) {
    if (!button)
        return;
    button->setEnabled(configured);
    button->setToolTip(configured ? QString() : localized("This service is not configured."));
}

} // namespace

SettingViewController::SettingViewController(QWidget* parent) : ViewController(parent) {}

// A card download still running when the screen goes is cancelled with it.
SettingViewController::~SettingViewController() = default;

void SettingViewController::loadView() {
    ui = std::make_unique<Ui::SettingViewController>();
    ui->setupUi(this);
    ViewLayer::applyStoryboardLayers(this);
    volumeView = ui->volumeView;
    volumeTxt = ui->volumeTxt;
    volumeProgress = ui->volumeProgress;
    updateView = ui->updateView;
    languageMenu = ui->languageMenu;
    versionTxt = ui->versionTxt;
    autoView = ui->autoView;
    autoUpdateBox = ui->autoUpdateBox;
    updateProgress = ui->updateProgress;
    updateProgressView = ui->updateProgressView;
}

void SettingViewController::viewDidLoad() {
    if (languageMenu) {
        languageMenu->clear();
        for (const LanguageRow& row : kLanguages)
            languageMenu->addItem(QString::fromUtf8(row.title));
        languageMenu->setCurrentIndex(1);
        languageMenu->setProperty("contentTintColor", assetColor(QLatin1String(AssetName::kMenuTint)));
    }

    UserDefaults& defaults = UserDefaults::standard();
    const QString languagesKey = key(DefaultsKey::kAppleLanguages);
    const std::optional<QStringList> languages = defaults.stringArray(languagesKey);
    int selected = -1;
    for (int i = 0; languages && i < int(std::size(kLanguages)); ++i) {
        if (*languages == QStringList{QLatin1String(kLanguages[i].code)})
            selected = i;
    }
    if (selected < 0) {
        // Anything but one of the three single languages becomes English.
        print(QStringLiteral("nil currentLng err."));
        defaults.set(languagesKey, QStringList{QStringLiteral("en")});
        selected = 0;
        if (languages)
            print(listText(defaults.stringArray(languagesKey).value_or(QStringList())));
    }
    if (languageMenu)
        languageMenu->setCurrentIndex(selected);

    if (versionTxt)
        versionTxt->setText(
            localized("Player Version") + QLatin1Char(' ') +
            Bundle::objectForInfoDictionaryKey(QStringLiteral("CFBundleShortVersionString")).toString());

    showCardCapacity();

    if (const std::optional<bool> autoUpdate = defaults.boolean(key(DefaultsKey::kAutoUpdate));
        autoUpdate && autoUpdateBox)
        autoUpdateBox->setChecked(*autoUpdate);

    offerDownload(ui->firmUpdateBtn, downloadServiceConfigured(true));
    offerDownload(ui->speedUpdateBtn, downloadServiceConfigured(false));

    if (updateProgressView) {
        updateProgressView->hide();
        updateProgressView->setAlphaValue(0.0);
        ViewLayer::setBackgroundColor(updateProgressView, Qt::black);
        updateProgressView->installEventFilter(this);
    }
    if (updateProgress)
        updateProgress->hide();
}

void SettingViewController::viewDidLayout() {
    const QColor panel = assetColor(QLatin1String(AssetName::kTransparentBlack20));
    setLayerColor(volumeView, panel);
    setLayerColor(autoView, panel);
}

bool SettingViewController::cancelOperation() {
    // Also while a card download runs: it is cancelled and the card left clean.
    onCloseBtnTap();
    return true;
}

bool SettingViewController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == updateProgressView && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        updateOverlayMask();
    return ViewController::eventFilter(watched, event);
}

void SettingViewController::onLanguageMenuTap() {
    selectLanguage(languageMenu);
}

void SettingViewController::onConfirmBtnTap() {
    confirmSettings();
}

void SettingViewController::onFirmUpdateBtnTap() {
    updateFirmware();
}

void SettingViewController::onSpeedUpdateBtnTap() {
    updateSpeedCamData();
}

void SettingViewController::onCloseBtnTap() {
    // Leaves the stored language and update switch as they were.
    cancelCardWork();
    dismissViewController(this);
}

void SettingViewController::selectLanguage(OrvoPopupBtnCell* menu) {
    if (!menu)
        return;
    const QString title = menu->currentText();
    for (const LanguageRow& row : kLanguages) {
        if (title == QString::fromUtf8(row.title)) {
            langunage = QStringList{QLatin1String(row.code)};
            return;
        }
    }
}

void SettingViewController::confirmSettings() {
    UserDefaults& defaults = UserDefaults::standard();
    defaults.set(key(DefaultsKey::kAutoUpdate),
                 QVariant(int(autoUpdateBox && autoUpdateBox->isChecked() ? 1 : 0)));
    if (!langunage) {
        dismissViewController(this);
        return;
    }
    const QString languagesKey = key(DefaultsKey::kAppleLanguages);
    if (defaults.stringArray(languagesKey) == langunage) {
        dismissViewController(this);
        return;
    }
    defaults.set(languagesKey, *langunage);
    defaults.synchronize();
    showAlert(QStringLiteral("The Language has changed."), QStringLiteral("Please restart Kavrin Player"));
    dismissViewController(this);
}

std::optional<QUrl> SettingViewController::resolveCardBookmark(const QByteArray& bookmark) {
    QString error;
    const std::optional<Bookmark::Resolution> resolved = Bookmark::resolve(bookmark, &error);
    if (!resolved) {
        print(error);
        return std::nullopt;
    }
    if (resolved->isStale) {
        print(QStringLiteral("bookmark is stable."));
        QString createError;
        if (const std::optional<QByteArray> fresh = Bookmark::create(resolved->url, &createError))
            UserDefaults::standard().set(key(DefaultsKey::kOrvoBookMark), *fresh);
        else
            print(createError);
    }
    if (!cardModel || FileManager::lastPathComponent(resolved->url) != *cardModel)
        return std::nullopt;
    return resolved->url;
}

void SettingViewController::showCardCapacity() {
    const std::optional<QByteArray> bookmark = UserDefaults::standard().data(key(DefaultsKey::kOrvoBookMark));
    if (!bookmark)
        return;
    const std::optional<QUrl> card = resolveCardBookmark(*bookmark);
    if (!card)
        return;
    const std::optional<FileManager::FileSystemAttributes> attributes =
        FileManager::attributesOfFileSystem(card->toLocalFile());
    if (!attributes || attributes->size <= 0)
        return;
    if (volumeTxt)
        volumeTxt->setText(CardPackages::capacityText(attributes->size, attributes->free));
    if (volumeProgress) {
        const double fraction =
            std::clamp((attributes->size - attributes->free) / attributes->size, 0.0, 1.0);
        volumeProgress->setValue(
            volumeProgress->minimum() +
            int(std::lround(fraction * (volumeProgress->maximum() - volumeProgress->minimum()))));
    }
}

void SettingViewController::showDownloadOverlay() {
    if (updateProgressView) {
        updateProgressView->show();
        updateProgressView->raise();
        updateProgressView->setAlphaValue(0.3);
    }
    if (updateProgress) {
        updateProgress->setRange(0, 0);
        updateProgress->show();
    }
    updateOverlayMask();
}

void SettingViewController::showOverlayProgress(qint64 done, qint64 total) {
    if (!updateProgress)
        return;
    if (total <= 0) {
        updateProgress->setRange(0, 0);
        return;
    }
    constexpr int kSteps = 1000;
    updateProgress->setRange(0, kSteps);
    updateProgress->setValue(int(std::clamp<qint64>(done * kSteps / total, 0, kSteps)));
}

void SettingViewController::updateOverlayMask() {
    QWidget* close = ui ? ui->closeBtn : nullptr;
    if (!updateProgressView || !close || !close->isVisible()) {
        if (updateProgressView)
            updateProgressView->clearMask();
        return;
    }
    const QRect button(close->mapTo(this, QPoint(0, 0)) - updateProgressView->mapTo(this, QPoint(0, 0)),
                       close->size());
    updateProgressView->setMask(QRegion(updateProgressView->rect()).subtracted(QRegion(button)));
}

bool SettingViewController::isCardWorkRunning() const {
    return (m_cardDownload && !m_cardDownload->isFinished()) || (m_cardUnpack && !m_cardUnpack->isFinished());
}

void SettingViewController::cancelCardWork() {
    if (!isCardWorkRunning())
        return;
    print(QStringLiteral("card download cancelled"));
    // A download removes its partial file at once; the unpacking is waited for.
    if (m_cardDownload)
        m_cardDownload->cancel();
    if (m_cardUnpack)
        m_cardUnpack->cancel();
    hideDownloadOverlay();
}

void SettingViewController::hideDownloadOverlay() {
    if (updateProgress) {
        updateProgress->setRange(0, 1);
        updateProgress->hide();
    }
    if (updateProgressView)
        updateProgressView->hide();
}
