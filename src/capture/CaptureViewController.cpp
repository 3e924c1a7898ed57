#include "capture/CaptureViewController.h"
#include "library/FolderOpener.h"
#include "platform/system/LogCategories.h"

#include "controls/ViewLayer.h"
#include "ui_CaptureViewController.h"

#include "capture/CaptureImageSaver.h"
#include "platform/system/Bookmark.h"
#include "platform/system/Localization.h"
#include "platform/system/NotificationCenter.h"
#include "platform/system/UserDefaults.h"
#include "platform/ui/OpenPanel.h"
#include "platform/ui/showAlert.h"
#include "shared/DefaultsKeys.h"
#include "shared/NotificationNames.h"
#include "shared/PlayerState.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace {

// Keys of "Localizable".
constexpr char kPanelMessage[] = "Choose directory to save";
constexpr char kPanelPrompt[] = "Set";
constexpr char kPathComponentError[] = "Path Component Error";
constexpr char kChooseAnotherDirectory[] = "Please choose another directory..";

void print(const QString& text) {
    platform::logLine(platform::lcCapture(), text);
}

QString bookmarkKey() {
    return QString::fromLatin1(DefaultsKey::kCaptureBookMark);
}

} // namespace

CaptureViewController::CaptureViewController(QWidget* parent) : ViewController(parent) {}

CaptureViewController::~CaptureViewController() = default;

void CaptureViewController::loadView() {
    ui = std::make_unique<Ui::CaptureViewController>();
    ui->setupUi(this);
    ViewLayer::applyStoryboardLayers(this);
    urlTextField = ui->urlTextField;
    capturePlayerRadio = ui->capturePlayerRadio;
    captureVideoRadio = ui->captureVideoRadio;
    captureVideoAndMapRadio = ui->captureVideoAndMapRadio;
}

void CaptureViewController::viewDidLoad() {
    if (const std::optional<QByteArray> bookmark = UserDefaults::standard().data(bookmarkKey())) {
        if (const std::optional<QUrl> url = resolveDestinationBookmark(*bookmark)) {
            directoryURL = *url;
            if (urlTextField)
                urlTextField->setText(url->toLocalFile());
        } else {
            print(QStringLiteral("nil bookMark url"));
        }
    } else {
        print(QStringLiteral("no bookmark"));
        // Made when the first capture is written into it.
        const QString desktop = CaptureImageSaver::desktopLocation();
        if (!desktop.isEmpty()) {
            directoryURL = QUrl::fromLocalFile(desktop);
            if (urlTextField)
                urlTextField->setText(desktop);
        }
    }
}

void CaptureViewController::viewWillDisappear() {
    NotificationCenter::defaultCenter().post(QString::fromLatin1(NotificationName::kRequestPlay));
}

void CaptureViewController::onCapturePlayerRadioTap() {
    if (capturePlayerRadio->isChecked()) {
        captureVideoRadio->setChecked(false);
        captureVideoAndMapRadio->setChecked(false);
    } else {
        captureVideoRadio->setChecked(true);
    }
}

void CaptureViewController::onCaptureVideoRadioTap() {
    if (captureVideoRadio->isChecked()) {
        capturePlayerRadio->setChecked(false);
        captureVideoAndMapRadio->setChecked(false);
    } else {
        capturePlayerRadio->setChecked(true);
    }
}

void CaptureViewController::onCaptureVideoAndMap() {
    if (captureVideoAndMapRadio->isChecked()) {
        capturePlayerRadio->setChecked(false);
        captureVideoRadio->setChecked(false);
    } else {
        captureVideoAndMapRadio->setChecked(true);
    }
}

void CaptureViewController::onCancelBtnTap() {
    dismissViewController(this);
}

void CaptureViewController::onSaveBtnTap() {
    const int kind = captureVideoAndMapRadio->isChecked() ? 2 : captureVideoRadio->isChecked() ? 1 : 0;
    if (!captureData)
        return;
    // A failed write keeps the screen open, so another folder can be chosen.
    if (saveCapture(*captureData, kind) == SaveResult::Saved)
        dismissViewController(this);
}

void CaptureViewController::onURLBtnTap() {
    chooseDestinationFolder();
}

CaptureViewController::SaveResult CaptureViewController::saveCapture(const ::captureData& capture, int kind) {
    if (capture.imgs.isEmpty())
        return SaveResult::Nothing;
    QImage image;
    if (kind == 0 || kind == 1) {
        image = capture.imgs.value(kind);
    } else if (kind == 2) {
        if (capture.imgs.size() == 3)
            image = stackImagesVertically({capture.imgs[1], capture.imgs[2]}).value_or(QImage());
        else
            image = capture.imgs.value(1);
    }
    const std::optional<QString> name = captureFileName(capture, kind);
    if (!name || name->isEmpty() || image.isNull())
        return SaveResult::Nothing;

    // The folder is read again from the bookmark (or is the desktop), not taken from the field.
    QString folder;
    if (const std::optional<QByteArray> bookmark = UserDefaults::standard().data(bookmarkKey())) {
        if (const std::optional<QUrl> url = resolveDestinationBookmark(*bookmark))
            folder = url->toLocalFile();
    }
    const CaptureImageSaver::Result result =
        CaptureImageSaver::save(image, *name, image.width(), image.height(), isMono, folder);
    if (!result.ok) {
        CaptureImageSaver::alertFailure(result);
        return SaveResult::Failed;
    }
    return SaveResult::Saved;
}

std::optional<QString> CaptureViewController::captureFileName(const ::captureData& capture, int kind) {
    if (capture.playMode == mode::none_ch || kind < 0 || kind > 2)
        return std::nullopt;
    static const char* const words[] = {"_player_", "_video_", "_map_"};
    static const char* const allWords[] = {"_player_ALL_", "_video_ALL_", "_map_ALL_"};
    const QString word = QLatin1String(words[kind]);
    const bool all = capture.playMode == mode::multiple_ch;
    if (capture.isMultipleVideo) {
        if (!all)
            return capture.name + word + capture.time;
        QString name = capture.name;
        name.replace(QLatin1String("F_"), QLatin1String("A_"));
        name.replace(QLatin1String("R_"), QLatin1String("A_"));
        name.replace(QLatin1String("I_"), QLatin1String("A_"));
        return name + word + capture.time;
    }
    if (all)
        return capture.name + QLatin1String(allWords[kind]) + capture.time;
    return capture.name + word + QString::number(modeIndex(capture.playMode) + 1) + QLatin1String("CH_") +
           capture.time;
}

std::optional<QImage> CaptureViewController::stackImagesVertically(const QList<QImage>& images) {
    if (images.isEmpty())
        return std::nullopt;
    const QImage& first = images.first();
    const int width = first.width();
    if (width <= 0)
        return std::nullopt;
    QList<int> heights;
    qint64 total = 0;
    for (const QImage& image : images) {
        const int h = image.width() > 0 ? static_cast<int>(static_cast<double>(image.height()) /
                                                           static_cast<double>(image.width()) * width)
                                        : 0;
        heights.append(h);
        total += h;
    }
    if (total <= 0 || total > 65535)
        return std::nullopt;
    // The first image's pixel format, where one can be painted on.
    QImage::Format format = first.format();
    if (format == QImage::Format_Invalid || format == QImage::Format_Mono ||
        format == QImage::Format_MonoLSB || format == QImage::Format_Indexed8 ||
        format == QImage::Format_Alpha8)
        format = QImage::Format_RGB32;
    QImage canvas(width, static_cast<int>(total), format);
    if (canvas.isNull())
        return std::nullopt;
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    int y = 0;
    for (qsizetype i = 0; i < images.size(); ++i) {
        painter.drawImage(QRect(0, y, width, heights[i]), images[i]);
        y += heights[i];
    }
    painter.end();
    return canvas;
}

void CaptureViewController::chooseDestinationFolder() {
    QFileDialog panel(this, localized(kPanelMessage), CaptureImageSaver::desktopLocation());
    panel.setObjectName(QStringLiteral("captureFolderPanel"));
    // Only a folder can hold the captures; the panel makes no new ones.
    panel.setFileMode(QFileDialog::Directory);
    panel.setOption(QFileDialog::ShowDirsOnly);
    panel.setOption(QFileDialog::ReadOnly);
    panel.setLabelText(QFileDialog::Accept, localized(kPanelPrompt));
    if (OpenPanel::run(panel) != QDialog::Accepted)
        return;
    const QList<QUrl> urls = panel.selectedUrls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) {
        showAlert(QString::fromLatin1(kPathComponentError), QString::fromLatin1(kChooseAnotherDirectory));
        return;
    }
    storeDestinationBookmark(urls.first());
}

void CaptureViewController::storeDestinationBookmark(const QUrl& url) {
    storeFolderBookmark(url, bookmarkKey());
    directoryURL = url;
    if (urlTextField)
        urlTextField->setText(url.toLocalFile());
}

std::optional<QUrl> CaptureViewController::resolveDestinationBookmark(const QByteArray& bookmark) {
    return resolveBookmark(bookmark, bookmarkKey());
}
