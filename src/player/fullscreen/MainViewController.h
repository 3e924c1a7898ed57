#pragma once

#include "platform/media/MediaTime.h"
#include "platform/media/Player.h"
#include "platform/ui/ViewController.h"
#include "shared/mode.h"

#include <QPointer>

#include <cstdint>
#include <memory>

class QLabel;
class QWidget;
class BackgroundView;
class DefaultImgBtnCell;
class FullScreenPlayer;
class OrvoImgBtnCell;
class OrvoPopupBtnCell;
class OrvoSliderCell;
class OrvoVerticalAlignText;
class ScrollView;
class VolumeSliderCell;
class Asset;
class FolderOpener;
class QTimer;
class RecordingListBuilder;
class RecordingPlayback;
struct KeyEvent;

namespace Ui {
class MainViewController;
}

// The full-screen player: the window's content while it is in full screen.
// One channel in one player view over the whole screen, with a control bar
// at the bottom ("MainViewController" in the storyboard).
class MainViewController : public ViewController {
    Q_OBJECT

public:
    explicit MainViewController(QWidget* parent = nullptr);
    ~MainViewController() override;

    // Outlets, connected when the view loads.
    QPointer<BackgroundView> backgroundView;
    QPointer<ScrollView> videoScrollView;
    // The visible video area: the scroll view's frame.
    QPointer<QWidget> scrollClipView;
    QPointer<FullScreenPlayer> singlePlayerView;
    QPointer<DefaultImgBtnCell> defaultImgBtn;
    QPointer<QWidget> menuView;
    QPointer<OrvoSliderCell> videoSlider;
    QPointer<QWidget> sliderView;
    QPointer<QWidget> toolsView;
    QPointer<OrvoImgBtnCell> playPauseBtn;
    QPointer<OrvoImgBtnCell> volumeBtn;
    QPointer<VolumeSliderCell> volumeSlider;
    QPointer<QLabel> volumeText;
    QPointer<QWidget> seperator;
    QPointer<QWidget> seperatorShadow;
    QPointer<OrvoPopupBtnCell> zoomMenu;
    QPointer<OrvoPopupBtnCell> speedMenu;
    QPointer<OrvoPopupBtnCell> monoMenu;
    QPointer<OrvoImgBtnCell> playModeBtn;
    QPointer<OrvoImgBtnCell> repeatBtn;
    QPointer<OrvoVerticalAlignText> videoCurrentText;
    QPointer<OrvoVerticalAlignText> videoTotalText;

    QPointer<OrvoImgBtnCell> saveBtn;

    // True while the position slider is being dragged: the time display waits.
    bool sliderIsSelected = false;
    QPointer<QTimer> currentTrackTimer;
    // The one-second mouse-idle timer and the seconds without movement in full screen.
    QPointer<QTimer> mouseTimer;
    qint64 mouseTemp = 0;
    // The one player; absent before the first load and after stop.
    QPointer<Player> player;
    // The local key monitor's token; 0 while none is installed.
    std::uint64_t hotKeyMonitor = 0;

public slots:
    // Actions.
    void onOpenBtnTap();
    void onPlayPauseBtnTap();
    void onStopBtnTap();
    void onRewindBtnTap();
    void onForwardBtnTap();
    void onPrevBtnTap();
    void onNextBtnTap();
    void onVideoSliderDidChange();
    void onVolumeBtnTap();
    void onVolumeSliderDidChange();
    void onZoomMenuTap();
    void onSpeedMenuTap();
    void onMonoMenuTap();
    void onPlayModeBtnTap();
    void onRepeatBtnTap();
    void onSaveBtnTap();
    void onSettingBtnTap();
    void onDefaultImgBtnTap();

public:
    // --- Start, hand-over, keys, folder, other screens (MainViewController.cpp) ---
    // Resumes the window player's recording from the shared player state.
    void resumeFromWindowPlayer();
    void installKeyMonitor();
    void removeKeyMonitor();
    bool handleHotKey(const KeyEvent& event);
    void seekWithHotKey(std::uint16_t keyCode);
    void changeVolumeWithHotKey(bool up);
    void onRequestPlay();
    // The folder opening and list building of this screen.
    FolderOpener& folderOpener();

    // --- Playback, transport and play settings (MainViewControllerPlayback.cpp) ---
    RecordingPlayback& playback() { return *m_playback; }
    void playFirstRecording();
    void playNext();
    void playPrev();
    void play(std::shared_ptr<Asset> asset, qint64 index, bool continuously);
    void ready(std::shared_ptr<Asset> asset, qint64 index, bool continuously);
    void playChannel(mode channel, std::shared_ptr<Asset> asset, bool continuously, bool readyOnly);
    // Empties the player and resets the screen and the play settings.
    void resetPlayer();
    void playerDidFinishPlaying();
    void startPlayTimer();
    void timerInterval();
    void updatePlayTime(qint64 current, qint64 total);
    void calcTime(qint64 current, qint64 total);
    void setPlaySpeed(int index);
    void selectSpeedMenuItem(int index);
    void setMonoFilter(bool on);
    void setZoom(int index);

    // --- Control bar and channel button (MainViewControllerControlBar.cpp) ---
    void mouseTimerInterval();
    void onMouseMoved();
    // The channel button's tag: the channel shown, 0-3.
    int playModeTag() const;
    void setPlayModeButton(mode channel);
    // The control bar shown (`mainBottom` of 70 points under the video) or hidden.
    void showMenuView(bool shown);

protected:
    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear() override;
    void viewDidLayout() override;
    void viewWillDisappear() override;
    void prepareForSegue(const StoryboardSegue& segue, const QVariant& sender) override;

private:
    // The asset of an entry for this screen (no composition: `composition` false).
    std::shared_ptr<Asset> assetForEntry(qint64 index, bool composition);
    // zoom 1.0x, speed 1.0x and mono off, as every new recording here starts.
    void resetPlaySettings();
    void setWindowTitle(const QString& title);

    std::unique_ptr<Ui::MainViewController> ui;
    std::unique_ptr<RecordingPlayback> m_playback;
    std::unique_ptr<RecordingListBuilder> m_listBuilder;
    std::unique_ptr<FolderOpener> m_folderOpener;
    int m_playModeTag = 0;
    quint64 m_speedRequest = 0;
};
