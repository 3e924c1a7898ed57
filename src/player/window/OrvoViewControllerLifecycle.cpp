// The window player's life: what it does when its view loads, appears, lays
// out and disappears; the deferred start-up step that runs the update check
// or reopens the last folder; the resumption of the current recording in a
// new window player after full screen; and the notification handlers that
// belong to no other part of the screen.

#include "player/window/OrvoViewController.h"

#include "controls/AssetColor.h"
#include "controls/CustomButton.h"
#include "controls/CustomNSView.h"
#include "controls/DefaultButtonStyle.h"
#include "controls/DefaultImgBtnCell.h"
#include "controls/OrvoGrayView.h"
#include "controls/OrvoImgBtnCell.h"
#include "controls/OrvoPopupBtnCell.h"
#include "controls/OrvoVerticalAlignText.h"
#include "controls/ViewLayer.h"
#include "controls/VolumeSliderCell.h"
#include "library/RecordingTableModel.h"
#include "platform/system/LogCategories.h"
#include "platform/ui/showAlert.h"
#include "playback/ChannelComposition.h"
#include "playback/RecordingPlayback.h"
#include "player/dataviews/OrvoGraphChartView.h"
#include "player/dataviews/OrvoLineChartView.h"
#include "settings/UpdateCheck.h"
#include "shared/DefaultsKeys.h"
#include "shared/NetworkMonitor.h"
#include "shared/NotificationNames.h"
#include "shared/PlayerState.h"
#include "shared/SegueIdentifiers.h"

#include "metadata/DistrictTable.h"
#include "platform/media/PlayerView.h"
#include "platform/system/Localization.h"
#include "platform/system/MainQueue.h"
#include "platform/system/UserDefaults.h"
#include "platform/ui/Assets.h"
#include "platform/ui/WindowController.h"
#include "platform/ui/Workspace.h"

#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMainWindow>
#include <QTableView>

#include <cmath>

namespace {

void print(const QString& text) {
    platform::logLine(platform::lcPlayer(), text);
}

// The platform's orange, which marks the row being played.
const QColor kPlayingRowColor(255, 128, 0);

// How a list of texts prints: ["ko-KR", "en-US"].
QString listText(const QStringList& list) {
    QStringList quoted;
    for (const QString& text : list)
        quoted.append(QLatin1Char('"') + text + QLatin1Char('"'));
    return QLatin1Char('[') + quoted.join(QStringLiteral(", ")) + QLatin1Char(']');
}

void fillMenu(OrvoPopupBtnCell* menu, const QStringList& titles, int selected) {
    if (!menu)
        return;
    menu->clear();
    menu->addItems(titles);
    menu->setCurrentIndex(selected);
    menu->setProperty("contentTintColor", assetColor(QLatin1String(AssetName::kMenuTint)));
}

// Sets a layer colour only when it changes, as this runs at every layout.
void setLayerColor(QWidget* view, const QColor& color) {
    if (view && ViewLayer::backgroundColor(view) != color)
        ViewLayer::setBackgroundColor(view, color);
}

QString defaultsKey(const char* key) {
    return QString::fromLatin1(key);
}

} // namespace

void OrvoViewController::viewDidLoad() {
    if (logoFullScreenView)
        logoFullScreenView->hide();

    sharedNetworkMonitor().startMonitoring();

    // The volume kept from the last run (0 to 1); the slider shows it in percent.
    UserDefaults& defaults = UserDefaults::standard();
    if (const std::optional<double> stored = defaults.number(defaultsKey(DefaultsKey::kVolume));
        stored && std::isfinite(*stored))
        volume = static_cast<float>(std::clamp(*stored, 0.0, 1.0));
    const int level = static_cast<int>(volume * 100);
    if (volumeSlider) {
        volumeSlider->setValue(level);
        volumeSlider->setToolTip(QString::number(level));
        volumeSlider->setEnabled(!isMuted);
    }
    if (volumeText)
        volumeText->setText(QString::number(level));
    if (volumeBtn)
        volumeBtn->setImageName(QLatin1String(isMuted ? AssetName::kVolumeMute : AssetName::kVolume));

    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(this, defaultsKey(NotificationName::kWindowDidEndLiveResize), nullptr,
                       [this](const Notification&) { windowDidEndLiveResize(); });
    center.addObserver(this, defaultsKey(NotificationName::kCancelUpdate), nullptr,
                       [this](const Notification&) { onCancelUpdate(); });
    center.addObserver(this, defaultsKey(NotificationName::kInstallerDownloadComplete), nullptr,
                       [this](const Notification& notification) {
                           onInstallerDownloadCompleteWithNotification(notification);
                       });

    initButtonState();
    // The metadata reader reports through getUserData; it needs no delegate here.

    normalizeInterfaceLanguage();
    fillMenus();

    // The location search only makes sense while the table shows districts (Korean). A
    // language chosen since the start waits for the next one, also in a new window player.
    const std::optional<QStringList> languages = interfaceLanguages();
    if (languages) {
        if (searchLayer)
            searchLayer->setVisible(*languages == QStringList{QStringLiteral("ko")});
    } else {
        print(QStringLiteral("nil currentLng err."));
        defaults.set(defaultsKey(DefaultsKey::kAppleLanguages), QStringList{QStringLiteral("en")});
        if (searchLayer)
            searchLayer->hide();
    }

    setUpRecordingTable();
    fillMenu(tableSortingMenu, recordingCategories(), 1);
    if (tableSortingMenu)
        tableSortingMenu->setCurrentIndex(0);

    // The table lives for the whole process: every later window player (one after each stay in
    // full screen) finds it loaded, and a second copy would only cost memory and lookup time.
    if (districtTable().isEmpty())
        loadAdminDistrictInfo();

    if (!recordingList.isEmpty()) {
        // A new window player after full screen: the list is still held.
        const bool cardTexts = cardModel && cardVersion;
        if (modelText)
            modelText->setText(cardTexts ? *cardModel : QString());
        if (versionTxt)
            versionTxt->setText(cardTexts ? *cardVersion : QString());
        restoreDisplayedList();
    } else {
        // At start-up: the update check or the last folder, once the window is up.
        mainQueueAfter(0.5, this, [this] { launchFollowUp(); });
    }

    installKeyMonitor();

    center.addObserver(this, defaultsKey(NotificationName::kBookmarkChanged), nullptr,
                       [this](const Notification&) { didBookMarkChanged(); });
    center.addObserver(this, defaultsKey(NotificationName::kRequestPlay), nullptr,
                       [this](const Notification&) { onRequestPlay(); });

    setupPlayerViews(4);
    startPlayTimer();
}

void OrvoViewController::normalizeInterfaceLanguage() {
    UserDefaults& defaults = UserDefaults::standard();
    const QString key = defaultsKey(DefaultsKey::kAppleLanguages);
    const std::optional<QStringList> languages = defaults.stringArray(key);
    if (!languages) {
        print(QStringLiteral("nil system language. Not Normal Issue"));
        defaults.set(key, QStringList{QStringLiteral("en")});
        return;
    }
    print(QStringLiteral("system language : ") + listText(*languages));
    if (languages->isEmpty()) {
        // No language at all: the interface is English.
        defaults.set(key, QStringList{QStringLiteral("en")});
        return;
    }
    const QString& first = languages->first();
    const qsizetype dash = first.indexOf(QLatin1Char('-'));
    if (dash < 0)
        return;
    const QString language = first.left(dash);
    print(QStringLiteral("defaultLng : ") + language);
    defaults.set(key, QStringList{language});
}

void OrvoViewController::fillMenus() {
    fillMenu(zoomMenu,
             {QStringLiteral("1.0x"), QStringLiteral("1.5x"), QStringLiteral("2.0x"), QStringLiteral("3.0x")},
             1);
    if (zoomMenu)
        zoomMenu->setCurrentIndex(0);
    fillMenu(speedMenu,
             {QStringLiteral("0.5x"), QStringLiteral("1.0x"), QStringLiteral("1.5x"), QStringLiteral("2.0x")},
             1);
    fillMenu(monoMenu, {QStringLiteral("ON"), QStringLiteral("OFF")}, 1);
}

void OrvoViewController::restoreDisplayedList() {
    if (!typeFilterTitle.isEmpty() && typeFilterTitle != localized("All")) {
        const qsizetype category = recordingCategories().indexOf(typeFilterTitle);
        if (tableSortingMenu && category >= 0)
            tableSortingMenu->setCurrentIndex(int(category));
        QList<orvoTableModel> entries;
        for (const orvoTableModel& entry : std::as_const(recordingList)) {
            if (entry.row.type == typeFilterTitle)
                entries.append(entry);
        }
        displayedRecordingList = entries;
    } else {
        displayedRecordingList = recordingList;
    }
    // The table's first load.
    reloadTableData();
}

void OrvoViewController::launchFollowUp() {
    if (!updateChecked) {
        QPointer<OrvoViewController> self(this);
        checkForUpdate(
            [self] {
                if (self)
                    self->playInBookMark();
            },
            [self](const std::optional<QUrl>& url) {
                if (self)
                    self->onUpdateCheckFinished(url);
            });
        return;
    }
    playInBookMark();
}

void OrvoViewController::onUpdateCheckFinished(const std::optional<QUrl>& url) {
    updateChecked = true;
    if (url) {
        performSegue(QLatin1String(SegueIdentifier::kOrvoToUpdate), QVariant(*url));
        return;
    }
    playInBookMark();
}

void OrvoViewController::viewWillAppear() {
    print(QStringLiteral("viewWillAppear"));
    if (windowTransition == 3) {
        // Back from the Dock: players that were playing go on.
        windowTransition = 0;
        if (orvoPlayer && playState == 1 &&
            orvoPlayer->timeControlStatus() == Player::TimeControlStatus::Paused)
            startEveryPlayer();
    } else {
        resumeCurrentRecording();
    }
    if (selectedRow && *selectedRow >= 0)
        markTableRow(*selectedRow, kPlayingRowColor);
}

void OrvoViewController::viewDidAppear() {
    WindowController* controller = windowController();
    QMainWindow* window = controller ? controller->window() : nullptr;
    if (!window) {
        print(QStringLiteral("nil window"));
        return;
    }
    window->setWindowTitle(QStringLiteral("Kavrin Player"));
    tempFrame = controller->frame();
    // A window player that takes the place of the full-screen one finds the focus gone with it.
    if (!window->focusWidget())
        setFocus(Qt::OtherFocusReason);
}

void OrvoViewController::viewDidLayout() {
    if (channelCount == 2 && !isMaximizing)
        applyPlayModeLayout();

    setLayerColor(videoView, Qt::black);
    setLayerColor(infoView, Qt::black);
    setLayerColor(orvoFooterView, Qt::black);
    setLayerColor(dataView, Qt::black);
    setLayerColor(videoSliderView, assetColor(QLatin1String(AssetName::kTransparentBlack20)));
    setLayerColor(chartIntervalView, Qt::transparent);
    setLayerColor(chartInterval, Qt::white);

    applyDefaultButtonStyle(motionBtn, 1);
    applyDefaultButtonStyle(speedBtn, 1);
    const QColor keyColor = assetColor(QLatin1String(AssetName::kKeyColor));
    if (dataPanelIndex == 0) {
        setLayerColor(motionBtn, keyColor);
        applyDefaultButtonBackground(speedBtn);
        if (motionView)
            motionView->show();
        if (speedView)
            speedView->hide();
        if (motionChartView)
            motionChartView->update();
    } else {
        setLayerColor(speedBtn, keyColor);
        applyDefaultButtonBackground(motionBtn);
        if (speedView)
            speedView->show();
        if (motionView)
            motionView->hide();
        if (speedChartView)
            speedChartView->update();
    }

    if (repeatBtn)
        repeatBtn->setImageName(QLatin1String(isRepeatOne ? AssetName::kRepeatOne : AssetName::kRepeatAll));

    if (monoMenu && monoMenu->count() >= 2)
        monoMenu->setCurrentIndex(isMono ? 0 : 1);
    for (PlayerView* view : std::as_const(avplayerViews)) {
        if (view->isMono() != isMono)
            view->setMono(isMono);
    }

    if (motionChartView) {
        motionChartView->drawChart(QRectF(motionChartView->rect()));
        motionChartView->update();
    }
    if (speedChartView) {
        speedChartView->drawChart(QRectF(speedChartView->rect()));
        speedChartView->update();
    }
}

void OrvoViewController::viewWillDisappear() {
    if (windowTransition != 2) {
        m_playback->pause();
        return;
    }
    // Entering full screen: the full-screen player takes over from the shared state.
    m_playback->storePosition();
    if (currentTrackTimer) {
        currentTrackTimer->stop();
        currentTrackTimer->deleteLater();
        currentTrackTimer = nullptr;
    }
    NotificationCenter::defaultCenter().removeObserver(this);
    // The players go at once: each takes its picture back from its view on the way, and
    // none of them is given a renderer of its own for the moment between.
    m_playback->releasePlayers();
    currentAsset = nullptr;
    removeKeyMonitor();
}

void OrvoViewController::resumeCurrentRecording() {
    print(QStringLiteral("isPlaying"));
    if ((playState != 1 && playState != 2) || !displayedRecordingList || currentIndex < 0 ||
        currentIndex >= displayedRecordingList->size())
        return;
    const orvoTableModel entry = displayedRecordingList->at(currentIndex);
    if (videoNameText)
        videoNameText->setText(recordingDisplayName(playMode, entry));

    const std::shared_ptr<Asset> asset = assetForEntry(entry);
    if (!asset) {
        m_playback->alertCannotPlay(entry.url);
        return;
    }

    updateChannelButtons();
    modeBtnsChange(playMode);
    if (videoNameText)
        videoNameText->setText(recordingDisplayName(playMode, entry));
    const bool cardTexts = cardModel && cardVersion;
    if (modelText)
        modelText->setText(cardTexts ? *cardModel : QString());
    if (versionTxt)
        versionTxt->setText(cardTexts ? *cardVersion : QString());
    setMonoFilter(isMono);
    selectSpeedMenuItem(speedIndex);
    setZoom(zoomIndex);

    if (playMode != mode::multiple_ch && windowTransition == 0)
        showSingleChannelView(channelIndexOf(playMode));

    reloadTableData();
    if (orvoTableView && recordingTableModel() && orvoTableView->selectionModel()) {
        const QModelIndex row = recordingTableModel()->index(int(currentIndex), 0);
        orvoTableView->selectionModel()->select(row, QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
        orvoTableView->scrollTo(row);
    }

    if (playState == 2) {
        if (defaultImgBtn)
            defaultImgBtn->hide();
        ready(asset, currentIndex, true);
    } else {
        play(asset, currentIndex, true);
    }
}

void OrvoViewController::initButtonState() {
    print(QStringLiteral("initButtonState"));
    for (int button = 0; button < 5; ++button)
        updateChannelButtonImages(button, 0);
    showDataPanel(false, true);
    showDataPanel(true, true);
    if (dataPanelIndex == 0)
        showDataPanel(false, true);
}

void OrvoViewController::windowDidEndLiveResize() {
    if (channelCount != 2)
        return;
    isMaximizing = false;
    if (playMode == mode::multiple_ch)
        layoutChannelViews(2);
    else
        showSingleChannelView(channelIndexOf(playMode));
}

void OrvoViewController::onRequestPlay() {
    // A recording paused before the capture or backup screen opened stays paused.
    if (players.isEmpty() || playState != 1)
        return;
    startEveryPlayer();
    playState = 1;
    if (playPauseBtn)
        playPauseBtn->setImageName(QLatin1String(AssetName::kPause));
}

void OrvoViewController::startEveryPlayer() {
    // At the chosen speed, and all channels together when all show.
    const double rate = speedRates[std::min<std::size_t>(speedIndex, speedRates.size() - 1)];
    if (playMode == mode::multiple_ch) {
        m_playback->resume(rate, true, 0);
        return;
    }
    for (Player* player : std::as_const(players)) {
        if (player->currentItem())
            player->playImmediatelyAtRate(rate);
    }
}

void OrvoViewController::onCancelUpdate() {
    playInBookMark();
}

void OrvoViewController::onInstallerDownloadCompleteWithNotification(const Notification& notification) {
    const QVariant path = notification.userInfo.value(QLatin1String(NotificationUserInfoKey::kDownloadPath));
    if (path.typeId() == QMetaType::QUrl) {
        const QUrl url = path.toUrl();
        print(QStringLiteral("Received parameter: ") + url.toString());
        // The installer file goes to the desktop, which starts it.
        Workspace::openURL(url);
    }
    Workspace::terminate();
}
