#pragma once

#include "capture/captureData.h"
#include "platform/media/MediaTime.h"
#include "platform/media/Player.h"
#include "platform/system/NotificationCenter.h"
#include "platform/ui/LayoutConstraint.h"
#include "platform/ui/ViewController.h"
#include "playback/ChannelSync.h"

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QUrl>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QTableView;
class QWidget;
class BarSliderCell;
class CustomButton;
class CustomNSView;
class CustomTableHeaderView;
class DefaultImgBtnCell;
class LeftBottomBtnCell;
class OrvoGrayView;
class OrvoImgBtnCell;
class OrvoGraphChartView;
class OrvoLineChartView;
class OrvoMapView;
class OrvoPopupBtnCell;
class OrvoSliderCell;
class OrvoTableRowView;
class OrvoVerticalAlignText;
class RightBottomBtnCell;
class VolumeSliderCell;
class WebView;
class DataPanel;
class MapPage;
// Channel views and keys.
class Player;
class PlayerView;
class ScrollView;
class ChannelLayout;
class QKeyEvent;
struct KeyEvent;
// Still capture.
class QContextMenuEvent;
class QMenu;
enum class mode : int;
// Playback.
class Asset;
class ChannelSync;
class FFmpeg;
class QTimer;
struct orvoTableModel;
// Recording table.
class RecordingTableModel;
class RecordingPlayback;
struct orvoPacketModel;

namespace Ui {
class OrvoViewController;
}

// The window player: the window's content while it is not in full screen.
// Its screen comes from the storyboard ("OrvoViewController"): the header
// with the card's model and version, the channel views with their buttons,
// the position slider, the control bar, the data panel, the map page and the
// recording table.
class OrvoViewController : public ViewController {
    Q_OBJECT

public:
    explicit OrvoViewController(QWidget* parent = nullptr);
    ~OrvoViewController() override;

    // Outlets, connected when the view loads.
    QPointer<OrvoGrayView> orvoHeaderView;
    QPointer<QLabel> modelText;
    QPointer<QLabel> versionTxt;
    QPointer<QWidget> videoView;
    QPointer<OrvoVerticalAlignText> videoNameText;
    QPointer<CustomButton> ch1Btn;
    QPointer<CustomButton> ch2Btn;
    QPointer<CustomButton> ch3Btn;
    QPointer<CustomButton> ch4Btn;
    QPointer<CustomButton> multipleModeBtn;
    QPointer<DefaultImgBtnCell> defaultImgBtn;
    QPointer<QWidget> videoContentView;

    QPointer<QWidget> infoView;
    QPointer<DefaultImgBtnCell> gpsOnOffImg;
    QPointer<QLabel> gpsOnOffText;
    QPointer<DefaultImgBtnCell> meterImg;
    QPointer<QLabel> meterValueText;
    QPointer<QWidget> videoSliderView;
    QPointer<OrvoSliderCell> videoSlider;
    QPointer<OrvoVerticalAlignText> videoCurrentText;
    QPointer<OrvoVerticalAlignText> videoTotalText;
    QPointer<OrvoPopupBtnCell> zoomMenu;
    QPointer<OrvoPopupBtnCell> speedMenu;
    QPointer<OrvoPopupBtnCell> monoMenu;
    QPointer<CustomButton> motionBtn;
    QPointer<CustomButton> speedBtn;
    QPointer<QWidget> motionView;
    QPointer<OrvoLineChartView> motionChartView;
    QPointer<QLabel> motionXText;
    QPointer<QLabel> motionYText;
    QPointer<QLabel> motionZText;
    QPointer<QWidget> speedView;
    QPointer<OrvoGraphChartView> speedChartView;
    QPointer<QWidget> chartIntervalView;
    QPointer<QWidget> chartInterval;
    QPointer<QWidget> dataView;
    QPointer<OrvoMapView> mapView;
    QPointer<WebView> mapWebView;
    QPointer<DefaultImgBtnCell> mapDefaultImg;
    QPointer<QLabel> mapFirstLabel;
    QPointer<QLabel> mapSecondLabel;
    QPointer<OrvoPopupBtnCell> tableSortingMenu;
    QPointer<CustomTableHeaderView> orvoTableHeaderView;
    QPointer<QTableView> orvoTableView;
    QPointer<OrvoGrayView> searchLayer;
    QPointer<QLineEdit> orvoSearchField;
    QPointer<QWidget> orvoFooterView;
    QPointer<LeftBottomBtnCell> openBtn;
    QPointer<OrvoImgBtnCell> prevBtn;
    QPointer<OrvoImgBtnCell> rewindBtn;
    QPointer<OrvoImgBtnCell> playPauseBtn;
    QPointer<OrvoImgBtnCell> stopBtn;
    QPointer<OrvoImgBtnCell> forwardBtn;
    QPointer<OrvoImgBtnCell> nextBtn;
    QPointer<OrvoImgBtnCell> volumeBtn;
    QPointer<OrvoGrayView> soundLayer;
    QPointer<VolumeSliderCell> volumeSlider;
    QPointer<QLabel> volumeText;
    QPointer<OrvoImgBtnCell> captureBtn;
    QPointer<OrvoImgBtnCell> repeatBtn;
    QPointer<OrvoImgBtnCell> saveBtn;
    QPointer<RightBottomBtnCell> settingBtn;
    QPointer<CustomNSView> logoFullScreenView;

    // The recording table's row drawing (selection in translucent grey).
    QPointer<OrvoTableRowView> orvoTableRowView;

public slots:
    // Actions, in the order of the files that hold them.
    // Transport and play settings (OrvoViewControllerTransport.cpp).
    void onPlayPauseBtnTap();
    void onStopBtnTap();
    void onPrevBtnTap();
    void onNextBtnTap();
    void onRewindBtnTap();
    void onForwardBtnTap();
    void onVideoSliderDidChange();
    void onSpeedMenuTap();
    void onZoomMenuTap();
    void onMonoMenuTap();
    void onVolumeSliderDidChange();
    void onVolumeBtnTap();
    void onRepeatBtnTap();
    // Window and other screens (OrvoViewControllerScreens.cpp).
    void onFullScreenBtnTap();
    void onSettingBtnTap();
    void onHelpBtnTap();
    void onDefaultImgBtnTap();
    void onCaptureBtnTap();
    void onSaveBtnTap();
    // Folder (OrvoViewControllerFolder.cpp).
    void onOpenBtnTap();
    // Data panel (OrvoViewControllerDataPanel.cpp).
    void onMotionBtnTap();
    void onSpeedBtnTap();
    // Channels (OrvoViewControllerChannels.cpp).
    void onTouchCh1Btn();
    void onTouchCh2Btn();
    void onTouchCh3Btn();
    void onTouchCh4Btn();
    void onMultipleModeBtnTap();
    // Recording table (OrvoViewControllerTable.cpp).
    void onSearchFieldChanged();
    void onTableSortMenuTap();
    void tableViewDoubleActionWithTable();

public:
    // --- Life cycle and start-up (OrvoViewControllerLifecycle.cpp) ---
    // The window's frame when the view appeared.
    std::optional<QRect> tempFrame;
    // The deferred start-up step: the update check once per process, else the last folder.
    void launchFollowUp();
    // The update check's completion: the update screen for an installer address, else the last folder.
    void onUpdateCheckFinished(const std::optional<QUrl>& url);
    // Reloads and resumes the current entry (a new window player after full screen).
    void resumeCurrentRecording();
    void initButtonState();
    // Notification handlers.
    void windowDidEndLiveResize();
    void onRequestPlay();
    void onCancelUpdate();
    void onInstallerDownloadCompleteWithNotification(const Notification& notification);

    // --- Folder opening, recording list, search and kind filter (OrvoViewControllerFolder.cpp) ---
    void openFileVolume(const QUrl& url);
    void playInBookMark();
    void didBookMarkChanged();
    void scanRemovableVolumes();
    void validateCardVolumes(const QList<QUrl>& volumes);
    void buildRecordingList(const QList<QUrl>& files);
    // The folder opening and its list builder; their hooks reach the players and the table.
    class FolderOpener& folderOpener();

    // --- Recording table (OrvoViewControllerTable.cpp, RecordingTableModel) ---
    // The table's rows; null before the view has loaded.
    RecordingTableModel* recordingTableModel() const;
    // Reloads orvoTableView from displayedRecordingList; the row marks go.
    void reloadTableData();
    // The table's selected row; -1 when none.
    qint64 tableSelectedRow() const;
    // The row last double-clicked; -1 when none.
    qint64 tableClickedRow = -1;
    // Colours every cell of `row` (clear colour: unmarks); rows outside the table are ignored.
    void markTableRow(qint64 row, const QColor& color);
    // Marks table row `row` as the one playing (orange, selected); selectedRow = row.
    void highlightPlayingRow(qint64 row);
    // The forward-delete key: takes the selected recording out of the lists (not off the disk).
    void deleteSelectedRecording();
    void tableViewSelectionDidChange();

    // --- Loading and playing a recording (OrvoViewControllerPlayback.cpp) ---
    // The players, their items, the channel sync and the end of an item.
    RecordingPlayback& playback() { return *m_playback; }
    // The channel players by channel index (the playback's).
    QList<Player*>& players;
    // The player whose item's end ends the recording and whose position drives
    // the time display: the shown channel's, or the sound channel's when all show.
    QPointer<Player>& orvoPlayer;
    // Path of the file whose metadata the charts and the map page show.
    QString videoFileName;
    // Loads and starts entry `idx` of displayedRecordingList with `asset`;
    // `continuously` resumes at lastPlayTime.
    void play(std::shared_ptr<Asset> asset, qint64 idx, bool continuously);
    // The same without starting the players (while paused).
    void ready(std::shared_ptr<Asset> asset, qint64 idx, bool continuously);
    void playChannel(mode channel, std::shared_ptr<Asset> asset, bool continuously, bool readyOnly);
    void playAllChannel(std::shared_ptr<Asset> asset, bool continuously, bool readyOnly);
    void playNext();
    void playPrev();
    void stopPlayback();
    // The end of orvoPlayer's item: the same recording again or the next one.
    void playerDidFinishPlaying();
    // The file name shown for `entry` in channel mode `channelMode`.
    static QString recordingDisplayName(mode channelMode, const orvoTableModel& entry);
    // The asset of an entry (see RecordingPlayback::assetForEntry).
    std::shared_ptr<Asset> assetForEntry(const orvoTableModel& entry);
    // playMode after a recording of channelCount channels was chosen: a
    // channel it does not have (or none_ch) becomes ch1.
    void adjustPlayModeToChannelCount();
    // Chooses, loads and plays entry `idx` from its start after the channel
    // layout was fitted to it; "Can't Play File" (`alert`) when it has no asset.
    bool loadEntry(qint64 idx, bool alert);
    ChannelSync& channelSync();

    // --- Channel views and layout, channel modes and buttons (OrvoViewControllerChannels.cpp) ---
    // Element i of the lists belongs to channel i.
    QList<ScrollView*> scrollViews;
    QList<PlayerView*> avplayerViews;
    void setupPlayerViews(qint64 count);
    void layoutChannelViews(qint64 count);
    // One channel's view over the whole container; -1 hides every channel.
    void showSingleChannelView(qint64 channel);
    void applyPlayModeLayout();
    // A drag on a magnified channel picture.
    void handlePan(ScrollView* scrollView, Qt::GestureState state, QPointF translation);
    // Button index 0-4 (ch1Btn .. ch4Btn, multipleModeBtn), state 0 unavailable, 1 current, 2 available.
    void updateChannelButtonImages(int buttonIndex, int state);
    void updateChannelButtons();
    void modeBtnsChange(mode playMode);

    // --- Playback tick (OrvoViewControllerTick.cpp) ---
    QPointer<QTimer> currentTrackTimer;
    void startPlayTimer();
    // One tick: stores orvoPlayer's position in lastPlayTime and updates the time display.
    void timerInterval();
    // Queues updateTimeDisplay on the main queue.
    void updatePlayTime(qint64 current, qint64 total);
    void updateTimeDisplay(qint64 current, qint64 total);

    // --- Transport, rate and view controls (OrvoViewControllerTransport.cpp) ---
    // The window is zoomed by the full-screen button rather than resized by the user.
    bool isMaximizing = false;
    // The body of the play/pause action (also the space key).
    void playPause();
    void setPlaySpeed(int index);
    void applyPlayRate(int index);
    void selectSpeedMenuItem(int index);
    void setZoom(int index);
    void setMonoFilter(bool on);
    // The metadata packet of a position: `seconds` of `total` over `count`
    // packets, kept inside the list (0 without packets or length).
    static qint64 packetIndexAt(double seconds, double total, qint64 count);

    // --- Window and other screens (OrvoViewControllerScreens.cpp) ---
    // The maker's web page for the interface language ("AppleLanguages").
    static QUrl makerWebPageUrl();

    // --- Keyboard (OrvoViewControllerKeys.cpp) ---
    // The local key monitor's token; 0 while none is installed.
    std::uint64_t hotKeyMonitor = 0;
    void installKeyMonitor();
    void removeKeyMonitor();
    bool handleHotKey(const KeyEvent& event);
    void keyDown(const KeyEvent& event);
    void seekWithHotKey(std::uint16_t keyCode);
    void changeVolumeWithHotKey(bool up);

    // --- Data panel, charts and map page (OrvoViewControllerDataPanel.cpp) ---
    void loadMapPage(bool hasGps);
    void showMapMessage(bool hasPosition, bool showMap, bool connected);
    void updateMapPosition(std::uint32_t dirLat, std::uint32_t dirLng, float lat, float lng);
    void redrawMapTrack(qint64 index);
    void updateDataPanel(bool replay);
    // The data panel's texts and map message as without metadata.
    void clearDataPanelTexts();
    // Empties both charts and puts the panel back to its state without a recording.
    void clearDataPanel();
    // Gives both charts the metadata of `model` and redraws them.
    void setChartPackets(const std::optional<orvoPacketModel>& model);
    void updateChartIntervalPosition(LayoutConstraint& constraint);
    // The layout constraints of chartIntervalView ("chartIntervalLeading").
    QList<LayoutConstraint> chartIntervalConstraints() const;
    // Shows the speed chart (`speed`) or the G-sensor chart and colours its button.
    void showDataPanel(bool speed, bool activate);

    // --- Clip backup (OrvoViewControllerBackup.cpp) ---
    // The save button's step: pauses a playing recording and presents the
    // backup screen with the current recording (segue "orvoToBackup").
    void showBackupDialog();
    // The context menu's backups of the current recording, without a screen:
    // every channel with its sound, or the video alone.
    void contextBackupVideo();
    void contextBackupVideoOnly();
    void backupFromContextMenu(bool withExtra);
    void backupWithFFmpeg(const orvoTableModel& row, bool withExtra);

protected:
    void prepareForSegue(const StoryboardSegue& segue, const QVariant& sender) override;
    // The backup segue's branch of prepareForSegue; false for any other segue.
    bool prepareBackupSegue(const StoryboardSegue& segue, const QVariant& sender);
    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear() override;
    void viewDidAppear() override;
    void viewDidLayout() override;
    void viewWillDisappear() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The playback is made first, so that the members that name its parts can be bound to it.
    OrvoViewController(QWidget* parent, std::unique_ptr<RecordingPlayback> playback);
    void connectOutlets();
    // Life cycle.
    void setUpRecordingTable();
    void normalizeInterfaceLanguage();
    void fillMenus();
    void restoreDisplayedList();
    void startEveryPlayer();
    // Transport: the seek shared by the slider, the buttons and the keys.
    void seekAllPlayers(const MediaTime& time);
    void seekBySeconds(double delta);
    // Channels: the mode `target` shown from the same position.
    void switchChannel(CustomButton* button, mode target);
    // Keys that reach the window itself (nothing inside it has the focus) go to keyDown too.
    void watchWindowKeys();
    // The keys "," and ".": steps asked in quick succession load only the recording they end on.
    void queueRecordingStep(int step);
    void takeRecordingSteps();
    // Moves `steps` entries on (back when negative) as playNext and playPrev do, loading the last only.
    void stepRecordings(int steps);
    // Data panel.
    MapPage& mapPage();
    DataPanel& dataPanel();
    std::optional<MediaTime> orvoPlayerItemTime() const;

    std::unique_ptr<Ui::OrvoViewController> ui;
    std::unique_ptr<RecordingPlayback> m_playback;
    std::shared_ptr<MapPage> m_mapPage;
    std::shared_ptr<DataPanel> m_dataPanel;
    struct FolderOpening;
    std::shared_ptr<FolderOpening> m_folderOpening;
    QPointer<ChannelLayout> m_channelLayout;
    QPointer<QObject> m_windowKeyFilter;
    // The latest speed change; a delayed rate of an earlier one is dropped.
    quint64 m_speedRequest = 0;
    // Net "." (+1) and "," (-1) presses not taken yet; they are taken kStepSettleMs after the last.
    int m_pendingSteps = 0;
    QPointer<QTimer> m_stepTimer;
    static constexpr int kStepSettleMs = 150;

public:
    // --- Still capture and the context menu of the video area (OrvoViewControllerCapture.cpp) ---
    // Shown by a right click inside the video area: capture to a file, and the two backups.
    QPointer<QMenu> playerContextMenu;
    // The context menu's capture: the window's image into the capture folder, no screen.
    void captureVideo();
    // The two capture runs at the play position: the capture screen with every image, or
    // the window's image written at once.
    void showCaptureDialog(mode channelMode);
    void captureToFile(mode channelMode);
    // Every loaded channel's frame at `time`, stretched into 640 x 360 bands, channel 1 on
    // top; a null image (with the reason in `error`) when a frame cannot be read.
    QImage captureChannelFrames(const MediaTime& time, QString* error = nullptr);
    // `images` drawn into equal horizontal bands of a `rect`-sized image, the first on top.
    static QImage combineImagesInBands(const QList<QImage>& images, const QRect& rect);
    // One frame of `asset` at `time`; `sourceStartTime` is where its player counts from.
    static QImage captureAssetFrame(const std::shared_ptr<Asset>& asset, const MediaTime& time,
                                    double sourceStartTime = 0.0, QString* error = nullptr);
    // The application window "Kavrin Player" without its frame; none when it cannot be grabbed.
    static std::optional<QImage> captureAppWindowImage();
    // Adds the map page's picture to `capture` when the web view gives one, then `continuation`.
    void snapshotMapView(WebView* webView, captureData capture,
                         std::function<void(captureData)> continuation);
    // "01:02:03" -> "01h02m03s"; any other text as it is.
    static QString captureTimeText(const QString& text);
    // Writes `image` (grey when isMono) as name + ".jpg" into the capture folder.
    void saveCaptureImage(const QImage& image, const QString& name, int width, int height);
    // A right click at `windowPos` (window coordinates): the context menu when it lies
    // strictly inside the video area while a recording is loaded.
    void rightMouseDown(const QPointF& windowPos);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void setUpPlayerContextMenu();
    // The steps both capture runs share; false when nothing was captured (the reason, if
    // the user must know it, has been shown).
    bool collectCapture(mode channelMode, std::function<void(captureData)> continuation);
    // A capture run is waiting for the map's picture.
    bool m_capturing = false;
};
