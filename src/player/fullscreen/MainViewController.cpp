// The full-screen player: its start, the hand-over from the window player,
// its keys, its folder opening and the backup and settings screens. Playback
// is in MainViewControllerPlayback.cpp, the control bar in
// MainViewControllerControlBar.cpp.

#include "player/fullscreen/MainViewController.h"

#include "capture/BackupDataReceiver.h"
#include "capture/backupData.h"
#include "controls/AssetColor.h"
#include "controls/DefaultImgBtnCell.h"
#include "controls/OrvoImgBtnCell.h"
#include "controls/OrvoPopupBtnCell.h"
#include "controls/OrvoSliderCell.h"
#include "controls/OrvoVerticalAlignText.h"
#include "controls/ViewLayer.h"
#include "controls/VolumeHotKey.h"
#include "controls/VolumeSliderCell.h"
#include "library/FolderOpener.h"
#include "library/RecordingListBuilder.h"
#include "platform/system/LogCategories.h"
#include "platform/ui/OpenPanel.h"
#include "platform/ui/showAlert.h"
#include "playback/RecordingPlayback.h"
#include "player/fullscreen/FullScreenPlayer.h"
#include "player/window/OrvoViewController.h"
#include "shared/DefaultsKeys.h"
#include "shared/NotificationNames.h"
#include "shared/PlayerState.h"
#include "shared/SegueIdentifiers.h"
#include "ui_MainViewController.h"

#include "metadata/FFmpeg.h"
#include "platform/media/Player.h"
#include "platform/media/ScrollView.h"
#include "platform/system/Localization.h"
#include "platform/system/MainQueue.h"
#include "platform/system/UserDefaults.h"
#include "platform/system/Volumes.h"
#include "platform/ui/Assets.h"
#include "platform/ui/KeyMonitor.h"
#include "platform/ui/ToolTips.h"
#include "platform/ui/WindowController.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLabel>
#include <QMainWindow>
#include <QScreen>
#include <QTimer>

#include <cmath>

namespace {

void fillMenu(OrvoPopupBtnCell* menu, const QStringList& titles) {
    if (!menu)
        return;
    menu->clear();
    menu->addItems(titles);
    menu->setCurrentIndex(1);
    menu->setProperty("contentTintColor", assetColor(QLatin1String(AssetName::kMenuTint)));
}

void showVolume(VolumeSliderCell* slider, QLabel* text) {
    if (!slider)
        return;
    const QString number = QString::number(slider->value());
    slider->setToolTip(number);
    if (text)
        text->setText(number);
}

} // namespace

MainViewController::MainViewController(QWidget* parent)
    : ViewController(parent), m_playback(std::make_unique<RecordingPlayback>()) {
    m_playback->hooks().didPlayToEnd = [this] { playerDidFinishPlaying(); };
}

MainViewController::~MainViewController() {
    // The player goes first and takes its picture back from the view as it goes.
    m_playback->releasePlayers();
    removeKeyMonitor();
    platform::logLine(platform::lcPlayer(), "MainViewController::deinit");
}

void MainViewController::loadView() {
    ui = std::make_unique<Ui::MainViewController>();
    ui->setupUi(this);
    ViewLayer::applyStoryboardLayers(this);
    // The scroll view and the picture in its place keep their frames while hidden.
    for (QWidget* view :
         {static_cast<QWidget*>(ui->videoScrollView), static_cast<QWidget*>(ui->defaultImgBtn)}) {
        QSizePolicy policy = view->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        view->setSizePolicy(policy);
    }
    // The player view is the scroll view's document view.
    ui->videoScrollView->setDocumentView(ui->singlePlayerView);
    // The bar's tips show over the video, never over the next click's target.
    ToolTips::showAbove(ui->menuView, {ui->menuView});

    backgroundView = ui->backgroundView;
    videoScrollView = ui->videoScrollView;
    scrollClipView = ui->videoScrollView;
    singlePlayerView = ui->singlePlayerView;
    defaultImgBtn = ui->defaultImgBtn;
    menuView = ui->menuView;
    videoSlider = ui->videoSlider;
    sliderView = ui->sliderView;
    toolsView = ui->toolsView;
    playPauseBtn = ui->playPauseBtn;
    volumeBtn = ui->volumeBtn;
    volumeSlider = ui->volumeSlider;
    volumeText = ui->volumeText;
    seperator = ui->seperator;
    seperatorShadow = ui->seperatorShadow;
    zoomMenu = ui->zoomMenu;
    speedMenu = ui->speedMenu;
    monoMenu = ui->monoMenu;
    playModeBtn = ui->playModeBtn;
    repeatBtn = ui->repeatBtn;
    videoCurrentText = ui->videoCurrentText;
    videoTotalText = ui->videoTotalText;
    saveBtn = ui->saveBtn;

    // The time display waits while the slider is dragged, until the button is let go.
    connect(ui->videoSlider, &QSlider::sliderReleased, this, [this] { sliderIsSelected = false; });
    // The one player, shown in the one view.
    ui->singlePlayerView->setPlayer(m_playback->addPlayer());
}

void MainViewController::viewDidLoad() {
    UserDefaults& defaults = UserDefaults::standard();
    if (const std::optional<double> stored = defaults.number(QLatin1String(DefaultsKey::kVolume));
        stored && std::isfinite(*stored))
        volume = static_cast<float>(std::clamp(*stored, 0.0, 1.0));
    if (volumeSlider) {
        volumeSlider->setValue(static_cast<int>(volume * 100));
        volumeSlider->setEnabled(!isMuted);
    }
    showVolume(volumeSlider, volumeText);
    if (volumeBtn)
        volumeBtn->setImageName(QLatin1String(isMuted ? AssetName::kVolumeMute : AssetName::kVolume));

    fillMenu(zoomMenu, {QStringLiteral("1.0x"), QStringLiteral("1.5x"), QStringLiteral("2.0x"),
                        QStringLiteral("3.0x")});
    fillMenu(speedMenu, {QStringLiteral("0.5x"), QStringLiteral("1.0x"), QStringLiteral("1.5x"),
                         QStringLiteral("2.0x")});
    fillMenu(monoMenu, {QStringLiteral("ON"), QStringLiteral("OFF")});
    if (zoomMenu)
        zoomMenu->setCurrentIndex(0);

    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(this, QLatin1String(NotificationName::kMouseMoved), nullptr,
                       [this](const Notification&) { onMouseMoved(); });
    auto* timer = new QTimer(this);
    timer->setInterval(1000);
    connect(timer, &QTimer::timeout, this, &MainViewController::mouseTimerInterval);
    timer->start();
    mouseTimer = timer;

    switch (playMode) {
    case mode::ch2:
    case mode::ch3:
    case mode::ch4:
        setPlayModeButton(playMode);
        break;
    default:
        setPlayModeButton(mode::ch1);
        break;
    }
    if (videoCurrentText)
        videoCurrentText->setText(timeString(0));
    if (videoTotalText)
        videoTotalText->setText(timeString(0));
    installKeyMonitor();
    startPlayTimer();
    center.addObserver(this, QLatin1String(NotificationName::kRequestPlay), nullptr,
                       [this](const Notification&) { onRequestPlay(); });
}

void MainViewController::viewDidAppear() {
    // The window covers its screen (also where no window manager resizes it).
    if (QWidget* shownWindow = window(); shownWindow && shownWindow != this) {
        if (QScreen* screen = shownWindow->screen();
            screen && shownWindow->geometry() != screen->geometry()) {
            if (WindowController* controller = windowController())
                controller->setFrame(screen->geometry(), false);
            else
                shownWindow->setGeometry(screen->geometry());
        }
    }
    resumeFromWindowPlayer();
}

void MainViewController::resumeFromWindowPlayer() {
    if (currentIndex == -1)
        currentIndex = 0;
    if (playState != 1 && playState != 2)
        return;
    if (!displayedRecordingList || currentIndex < 0 || currentIndex >= displayedRecordingList->size())
        return;
    const orvoTableModel entry = displayedRecordingList->at(currentIndex);
    if (defaultImgBtn)
        defaultImgBtn->hide();
    setWindowTitle(QFileInfo(entry.url.path()).fileName());
    const std::shared_ptr<Asset> asset = assetForEntry(currentIndex, true);
    if (!asset)
        return;
    currentRecording = entry;
    setMonoFilter(isMono);
    selectSpeedMenuItem(speedIndex);
    setZoom(zoomIndex);
    if (playState == 2) {
        // Paused: the picture at the handed-over position shows, still.
        if (videoScrollView)
            videoScrollView->show();
        ready(asset, currentIndex, true);
    } else
        play(asset, currentIndex, true);
}

void MainViewController::viewWillDisappear() {
    // The next window player resumes where the picture is now.
    m_playback->storePosition();
    if (currentTrackTimer) {
        currentTrackTimer->stop();
        currentTrackTimer->deleteLater();
    }
    if (mouseTimer) {
        mouseTimer->stop();
        mouseTimer->deleteLater();
    }
    // Emptied now; deleted with the screen, after the next one has started.
    m_playback->unload();
    NotificationCenter::defaultCenter().removeObserver(this);
    player = nullptr;
    removeKeyMonitor();
    if (singlePlayerView)
        singlePlayerView->setMono(false);
    // The shared state stays as it is: the next window player resumes from it.
}

void MainViewController::viewDidLayout() {
    if (repeatBtn)
        repeatBtn->setImageName(QLatin1String(isRepeatOne ? AssetName::kRepeatOne : AssetName::kRepeatAll));
    if (singlePlayerView && singlePlayerView->isMono() != isMono)
        setMonoFilter(isMono);
}

void MainViewController::setWindowTitle(const QString& title) {
    if (QWidget* shownWindow = window(); shownWindow && shownWindow != this)
        shownWindow->setWindowTitle(title);
}

// --- Keys ---

void MainViewController::installKeyMonitor() {
    removeKeyMonitor();
    QPointer<MainViewController> self(this);
    hotKeyMonitor = KeyMonitor::addLocalMonitorForKeyDown(
        [self](const KeyEvent& event) { return self && self->handleHotKey(event); });
}

void MainViewController::removeKeyMonitor() {
    if (hotKeyMonitor == 0)
        return;
    KeyMonitor::removeMonitor(hotKeyMonitor);
    hotKeyMonitor = 0;
}

bool MainViewController::handleHotKey(const KeyEvent& event) {
    QWidget* ownWindow = window();
    if (!ownWindow || ownWindow != QApplication::activeWindow())
        return false;
    switch (event.keyCode) {
    case KeyCode::k1:
    case KeyCode::k2:
    case KeyCode::k3:
    case KeyCode::k4:
        speedIndex = static_cast<std::uint8_t>(event.keyCode - KeyCode::k1);
        setPlaySpeed(speedIndex);
        return true;
    case KeyCode::kRightBracket:
        if (zoomIndex < 3)
            setZoom(++zoomIndex);
        return true;
    case KeyCode::kLeftBracket:
        if (zoomIndex > 0)
            setZoom(--zoomIndex);
        return true;
    case KeyCode::kComma:
    case KeyCode::kPeriod:
    case KeyCode::kLeftArrow:
    case KeyCode::kRightArrow:
        seekWithHotKey(event.keyCode);
        return true;
    case KeyCode::kSpace:
        onPlayPauseBtnTap();
        return true;
    case KeyCode::kDownArrow:
        changeVolumeWithHotKey(false);
        return true;
    case KeyCode::kUpArrow:
        changeVolumeWithHotKey(true);
        return true;
    default:
        return false;
    }
}

void MainViewController::seekWithHotKey(std::uint16_t keyCode) {
    if (!player || !player->currentItem())
        return;
    switch (keyCode) {
    case KeyCode::kComma:
        playPrev();
        return;
    case KeyCode::kPeriod:
        playNext();
        return;
    case KeyCode::kLeftArrow:
        onRewindBtnTap();
        return;
    case KeyCode::kRightArrow:
        onForwardBtnTap();
        return;
    default:
        qCInfo(platform::lcPlayer, "seekWithHotKey - %u", static_cast<unsigned>(keyCode));
        return;
    }
}

void MainViewController::changeVolumeWithHotKey(bool up) {
    ::changeVolumeWithHotKey(player, volumeSlider, volumeText, up);
}

// --- Folder ---

FolderOpener& MainViewController::folderOpener() {
    if (!m_folderOpener) {
        RecordingListOutlets outlets;
        // The list building here begins with this screen's reset and has no table or texts to update.
        outlets.stopPlayback = [this] { resetPlayer(); };
        m_listBuilder = std::make_unique<RecordingListBuilder>(m_playback->reader(), outlets);
        FolderOpener::Hooks hooks;
        // A folder that cannot be listed is only reported: no volume scan from full screen.
        hooks.mountedVolumeURLs = [] { return QList<QUrl>{}; };
        hooks.resetPermission = [](const QString&) { return PermissionReset::Result{}; };
        m_folderOpener = std::make_unique<FolderOpener>(*m_listBuilder, hooks);
    }
    return *m_folderOpener;
}

void MainViewController::onOpenBtnTap() {
    if (player) {
        m_playback->pause();
        playState = 2;
        if (playPauseBtn)
            playPauseBtn->setImageName(QLatin1String(AssetName::kPlay));
    }
    QFileDialog panel(this);
    const QVariant stored = UserDefaults::standard().object(QLatin1String(DefaultsKey::kSDcardDirectory));
    std::optional<QUrl> lastDirectory;
    if (stored.isValid() && !stored.toUrl().isEmpty())
        lastDirectory = stored.toUrl();
    if (const std::optional<QUrl> start =
            openPanelStartDirectory(lastDirectory, Volumes::mountedVolumeURLs(true)))
        panel.setDirectoryUrl(*start);
    panel.setWindowTitle(localized("Choose video file or directory"));
    panel.setFileMode(QFileDialog::Directory);
    panel.setOption(QFileDialog::ShowDirsOnly, false);
    panel.setOption(QFileDialog::ReadOnly, true);
    QPointer<MainViewController> self(this);
    const bool accepted = OpenPanel::run(panel) == QDialog::Accepted;
    // The screen may have gone while the panel was open (full screen left meanwhile).
    if (!self || !accepted)
        return;
    const QList<QUrl> chosen = panel.selectedUrls();
    if (chosen.isEmpty() || chosen.first().isEmpty()) {
        showAlert(QStringLiteral("Path Component Error"), QStringLiteral("Please open another directory."));
        return;
    }
    UserDefaults::standard().set(QLatin1String(DefaultsKey::kSDcardDirectory), chosen.first());
    cardModel.reset();
    cardVersion.reset();
    folderOpener().openFileVolume(chosen.first());
    // With recordings, the list is current from its first entry and the player goes.
    if (!recordingList.isEmpty())
        player = nullptr;
}

// --- Other screens ---

void MainViewController::onSaveBtnTap() {
    if (!displayedRecordingList || currentIndex < 0 || currentIndex >= displayedRecordingList->size() ||
        !currentAsset || !player)
        return;
    // The play state stays, so that "requestPlay" resumes a recording that was playing.
    m_playback->pause();
    if (playPauseBtn)
        playPauseBtn->setImageName(QLatin1String(AssetName::kPlay));
    const backupData payload{currentAsset, displayedRecordingList->at(currentIndex).url};
    performSegue(QLatin1String(SegueIdentifier::kMainToBackup), QVariant::fromValue(payload));
}

void MainViewController::prepareForSegue(const StoryboardSegue& segue, const QVariant& sender) {
    if (segue.identifier() != QLatin1String(SegueIdentifier::kMainToBackup))
        return;
    prepareBackupDestination(segue.destinationController(), sender);
}

void MainViewController::onSettingBtnTap() {
    performSegue(QLatin1String(SegueIdentifier::kFullScreenToSetting));
}

void MainViewController::onDefaultImgBtnTap() {
    QDesktopServices::openUrl(OrvoViewController::makerWebPageUrl());
}

void MainViewController::onRequestPlay() {
    if (!player || playState != 1)
        return;
    m_playback->resume(speedRates[std::min<std::size_t>(speedIndex, speedRates.size() - 1)], false, 0);
    if (playPauseBtn)
        playPauseBtn->setImageName(QLatin1String(AssetName::kPause));
}
