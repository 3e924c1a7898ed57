#pragma once

#include "platform/LayoutConstraint.h"
#include "platform/MediaTime.h"
#include "platform/ViewController.h"

#include <QPointer>

#include <cstdint>
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
    // Folder (the open panel).
    void onOpenBtnTap();
    // Transport.
    void onPlayPauseBtnTap();
    void onStopBtnTap();
    void onPrevBtnTap();
    void onNextBtnTap();
    void onRewindBtnTap();
    void onForwardBtnTap();
    void onVideoSliderDidChange();
    // Play settings.
    void onSpeedMenuTap();
    void onZoomMenuTap();
    void onMonoMenuTap();
    void onVolumeSliderDidChange();
    void onVolumeBtnTap();
    void onRepeatBtnTap();
    // Data panel.
    void onMotionBtnTap();
    void onSpeedBtnTap();
    // Window and other screens.
    void onFullScreenBtnTap();
    void onSettingBtnTap();
    void onHelpBtnTap();
    void onDefaultImgBtnTap();
    void onCaptureBtnTap();
    void onSaveBtnTap();
    // Channels.
    void onTouchCh1Btn();
    void onTouchCh2Btn();
    void onTouchCh3Btn();
    void onTouchCh4Btn();
    void onMultipleModeBtnTap();
    // Recording table.
    void onSearchFieldChanged();
    void onTableSortMenuTap();
    void tableViewDoubleActionWithTable();

public:
    // Data panel, charts and map page (OrvoViewControllerDataPanel.cpp).
    void loadMapPage(bool hasGps);
    void showMapMessage(bool hasPosition, bool showMap, bool connected);
    void updateMapPosition(std::uint32_t dirLat, std::uint32_t dirLng, float lat, float lng);
    void redrawMapTrack(qint64 index);
    void updateDataPanel(bool replay);
    void updateChartIntervalPosition(LayoutConstraint& constraint);
    // The layout constraints of chartIntervalView ("chartIntervalLeading").
    QList<LayoutConstraint> chartIntervalConstraints() const;

protected:
    void loadView() override;

private:
    void connectOutlets();

    std::unique_ptr<Ui::OrvoViewController> ui;
    // Data panel and map page (OrvoViewControllerDataPanel.cpp).
    MapPage& mapPage();
    DataPanel& dataPanel();
    std::optional<MediaTime> orvoPlayerItemTime() const;
    std::shared_ptr<MapPage> m_mapPage;
    std::shared_ptr<DataPanel> m_dataPanel;

public:
    // Folder opening, recording list, search and kind filter (OrvoViewControllerFolder.cpp).
    void openFileVolume(const QUrl& url);
    void playInBookMark();
    void didBookMarkChanged();
    void scanRemovableVolumes();
    void validateCardVolumes(const QList<QUrl>& volumes);
    void buildRecordingList(const QList<QUrl>& files);
    // The folder opening and its list builder; playback plugs its stopPlayback
    // and player steps into their hooks.
    class FolderOpener& folderOpener();

private:
    void reloadRecordingTable();
    struct FolderOpening;
    std::shared_ptr<FolderOpening> m_folderOpening;
};
