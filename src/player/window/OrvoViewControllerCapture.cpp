// Still capture from the window player: the frame of one channel or of all channels at
// the play position, the application window and the map page; the capture screen or a
// file written at once; and the context menu of the video area.

#include "player/window/OrvoViewController.h"

#include "playback/RecordingPlayback.h"

#include "capture/CaptureImageSaver.h"
#include "controls/OrvoImgBtnCell.h"
#include "controls/OrvoVerticalAlignText.h"
#include "library/FolderOpener.h"
#include "platform/system/LogCategories.h"
#include "platform/ui/showAlert.h"
#include "shared/DefaultsKeys.h"
#include "shared/PlayerState.h"
#include "shared/SegueIdentifiers.h"

#include "platform/media/AssetImageGenerator.h"
#include "platform/media/PlayerItem.h"
#include "platform/system/FileManager.h"
#include "platform/system/Localization.h"
#include "platform/system/UserDefaults.h"
#include "platform/ui/Assets.h"
#include "platform/ui/WindowList.h"
#include "platform/web/WebView.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

#include <future>
#include <vector>

namespace {

// The size of one channel's band in the image of all channels.
constexpr int kBandWidth = 640;
constexpr int kBandHeight = 360;
// The title the window player gives its window; the window grab looks for it.
constexpr char kPlayerWindowTitle[] = "Kavrin Player";

// Texts of the context menu and of the capture alerts: keys of "Localizable".
constexpr char kCaptureMenuTitle[] = "Save a still image";
constexpr char kBackupMenuTitle[] = "Back up with sound";
constexpr char kBackupVideoOnlyMenuTitle[] = "Back up video only";
constexpr char kCaptureFailed[] = "Capture Failed";
constexpr char kFrameNotRead[] = "The video frame could not be read.";
constexpr char kWindowNotGrabbed[] = "The player window could not be captured.";

void print(const QString& text) {
    platform::logLine(platform::lcCapture(), text);
}

void alertCaptureFailure(const char* what, const QString& detail) {
    QString message = localized(what);
    if (!detail.isEmpty())
        message += QLatin1Char('\n') + detail;
    showAlert(QString::fromLatin1(kCaptureFailed), message);
}

} // namespace

void OrvoViewController::setUpPlayerContextMenu() {
    if (playerContextMenu)
        return;
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("playerContextMenu"));
    menu->addAction(localized(kCaptureMenuTitle), this, &OrvoViewController::captureVideo);
    menu->addAction(localized(kBackupMenuTitle), this, &OrvoViewController::contextBackupVideo);
    menu->addAction(localized(kBackupVideoOnlyMenuTitle), this, &OrvoViewController::contextBackupVideoOnly);
    playerContextMenu = menu;
}

void OrvoViewController::onCaptureBtnTap() {
    if (!orvoPlayer)
        return;
    if (playState == 1) {
        // Paused for the screen; playState stays 1 so that its closing resumes playback.
        m_playback->pause();
        if (playPauseBtn)
            playPauseBtn->setImageName(QLatin1String(AssetName::kPlay));
    }
    showCaptureDialog(playMode);
}

void OrvoViewController::captureVideo() {
    if (!orvoPlayer)
        return;
    captureToFile(playMode);
}

void OrvoViewController::showCaptureDialog(mode channelMode) {
    // The capture under way brings its own screen up.
    if (m_capturing)
        return;
    QPointer<OrvoViewController> self(this);
    const bool started = collectCapture(channelMode, [self](const captureData& capture) {
        if (!self)
            return;
        if (!self->performSegue(QLatin1String(SegueIdentifier::kOrvoToCapture), QVariant::fromValue(capture)))
            self->onRequestPlay(); // no screen came up: nothing will close and resume
    });
    // Without a screen to close, playback paused for it resumes now.
    if (!started)
        onRequestPlay();
}

void OrvoViewController::captureToFile(mode channelMode) {
    QPointer<OrvoViewController> self(this);
    collectCapture(channelMode, [self](const captureData& capture) {
        if (!self || capture.imgs.isEmpty())
            return;
        const QImage& window = capture.imgs.first();
        self->saveCaptureImage(window, capture.name, window.width(), window.height());
    });
}

bool OrvoViewController::collectCapture(mode channelMode, std::function<void(captureData)> continuation) {
    if (m_capturing || !currentRecording || !orvoPlayer)
        return false;
    const std::shared_ptr<PlayerItem> item = orvoPlayer->currentItem();
    if (!item)
        return false;
    // The picture shown now: asked of the engine, as a just-paused player may have moved
    // on by a frame since its last report.
    const MediaTime time = orvoPlayer->presentedTime();
    if (channelMode == mode::none_ch)
        return false;

    captureData capture;
    capture.playMode = channelMode;
    capture.isMultipleVideo = currentRecording->row.merge.has_value();
    capture.name = videoNameText ? videoNameText->text() : QString();
    if (capture.name.isEmpty())
        capture.name = FileManager::lastPathComponent(currentRecording->url);
    capture.time = captureTimeText(videoCurrentText ? videoCurrentText->text() : QString());

    QString error;
    QImage frame;
    if (channelMode == mode::multiple_ch) {
        frame = captureChannelFrames(time, &error);
    } else {
        const int index = modeIndex(channelMode);
        if (index >= players.size())
            return false;
        Player* player = players[index];
        const std::shared_ptr<PlayerItem> channelItem = player->currentItem();
        if (!channelItem || !channelItem->asset())
            return false;
        frame = captureAssetFrame(channelItem->asset(), time, player->demuxerStartTime(), &error);
    }
    if (frame.isNull()) {
        print(QStringLiteral("capture: no frame at %1: %2").arg(time.seconds()).arg(error));
        alertCaptureFailure(kFrameNotRead, error);
        return false;
    }

    const std::optional<QImage> window = captureAppWindowImage();
    if (!window) {
        print(QStringLiteral("capture: no window titled \"%1\" to grab")
                  .arg(QLatin1String(kPlayerWindowTitle)));
        alertCaptureFailure(kWindowNotGrabbed, QString());
        return false;
    }
    capture.imgs = {*window, frame};

    if (hasGps && mapWebView) {
        m_capturing = true;
        QPointer<OrvoViewController> self(this);
        snapshotMapView(mapWebView, std::move(capture), [self, continuation](captureData withMap) {
            if (self)
                self->m_capturing = false;
            continuation(std::move(withMap));
        });
    } else {
        continuation(std::move(capture));
    }
    return true;
}

QImage OrvoViewController::captureChannelFrames(const MediaTime& time, QString* error) {
    struct Channel {
        std::shared_ptr<Asset> asset;
        double start = 0.0;
    };
    std::vector<Channel> channels;
    for (qsizetype i = 0; i < std::min<qsizetype>(4, players.size()); ++i) {
        const std::shared_ptr<PlayerItem> item = players[i]->currentItem();
        // The track is looked up here, on the main thread: a file's tracks are read on first use.
        if (item && item->asset() && item->asset()->playbackVideoTrack())
            channels.push_back({item->asset(), players[i]->demuxerStartTime()});
    }
    if (channels.empty()) {
        if (error)
            *error = QStringLiteral("no channel is loaded");
        return {};
    }

    // Each channel decodes from its own key frame; side by side they take the time of one.
    std::vector<std::future<std::pair<QImage, QString>>> grabs;
    for (const Channel& channel : channels) {
        grabs.push_back(std::async(std::launch::async, [channel, time] {
            QString why;
            QImage image = captureAssetFrame(channel.asset, time, channel.start, &why);
            return std::make_pair(std::move(image), why);
        }));
    }
    QList<QImage> frames;
    QString firstError;
    for (auto& grab : grabs) {
        auto [image, why] = grab.get();
        if (image.isNull() && firstError.isEmpty())
            firstError = why.isEmpty() ? QStringLiteral("a channel gave no frame") : why;
        frames.append(std::move(image));
    }
    if (!firstError.isEmpty()) {
        if (error)
            *error = firstError;
        return {};
    }
    const int count = static_cast<int>(frames.size());
    return combineImagesInBands(frames, QRect(0, 0, kBandWidth, kBandHeight * count));
}

QImage OrvoViewController::combineImagesInBands(const QList<QImage>& images, const QRect& rect) {
    if (images.isEmpty() || rect.width() <= 0 || rect.height() <= 0)
        return {};
    QImage canvas(rect.size(), QImage::Format_RGB32);
    if (canvas.isNull())
        return {};
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const qreal band = static_cast<qreal>(rect.height()) / static_cast<qreal>(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        // Stretched to its band whatever its own shape, the first image on top.
        painter.drawImage(QRectF(0, band * static_cast<qreal>(i), rect.width(), band), images[i]);
    }
    painter.end();
    return canvas;
}

QImage OrvoViewController::captureAssetFrame(const std::shared_ptr<Asset>& asset, const MediaTime& time,
                                             double sourceStartTime, QString* error) {
    AssetImageGenerator generator(asset);
    generator.appliesPreferredTrackTransform = true;
    generator.sourceStartTime = sourceStartTime;
    return generator.copyCGImageAtTime(time, nullptr, error);
}

std::optional<QImage> OrvoViewController::captureAppWindowImage() {
    const QList<QWidget*> windows = WindowList::windowsNamed(QLatin1String(kPlayerWindowTitle));
    if (windows.isEmpty())
        return std::nullopt;
    return WindowList::createImage(windows.first());
}

void OrvoViewController::snapshotMapView(WebView* webView, captureData capture,
                                         std::function<void(captureData)> continuation) {
    if (!webView) {
        continuation(std::move(capture));
        return;
    }
    webView->takeSnapshot([capture, continuation](const QImage& image, const QString& error) mutable {
        if (!image.isNull())
            capture.imgs.append(image);
        else
            print(QStringLiteral("WKWebView 스냅샷을 캡처할 수 없습니다: ") + error);
        continuation(std::move(capture));
    });
}

QString OrvoViewController::captureTimeText(const QString& text) {
    const QStringList pieces = text.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (pieces.size() != 3)
        return text;
    return pieces[0] + QLatin1Char('h') + pieces[1] + QLatin1Char('m') + pieces[2] + QLatin1Char('s');
}

void OrvoViewController::saveCaptureImage(const QImage& image, const QString& name, int width, int height) {
    // The folder is read again at every write; a bookmark that no longer resolves
    // leaves the desktop folder.
    QString folder;
    const QString key = QString::fromLatin1(DefaultsKey::kCaptureBookMark);
    if (const std::optional<QByteArray> bookmark = UserDefaults::standard().data(key)) {
        if (const std::optional<QUrl> url = resolveBookmark(*bookmark, key))
            folder = url->toLocalFile();
    }
    const CaptureImageSaver::Result result =
        CaptureImageSaver::save(image, name, width, height, isMono, folder);
    if (!result.ok)
        CaptureImageSaver::alertFailure(result);
}

void OrvoViewController::rightMouseDown(const QPointF& windowPos) {
    if (!currentRecording || !videoContentView)
        return;
    QWidget* host = window();
    const QPointF origin = videoContentView->mapTo(host, QPointF(0, 0));
    const QRectF area(origin, QSizeF(videoContentView->size()));
    // Strictly inside: a click on the border opens nothing.
    if (!(area.left() < windowPos.x() && windowPos.x() < area.right() && area.top() < windowPos.y() &&
          windowPos.y() < area.bottom()))
        return;
    setUpPlayerContextMenu();
    const QList<QAction*> actions = playerContextMenu->actions();
    playerContextMenu->popup(host->mapToGlobal(windowPos.toPoint()), actions.value(0));
}

void OrvoViewController::contextMenuEvent(QContextMenuEvent* event) {
    rightMouseDown(mapTo(window(), QPointF(event->pos())));
    event->accept();
}
