#include "player/window/OrvoViewController.h"

#include "platform/media/PlayerView.h"
#include "platform/system/LogCategories.h"
#include "playback/RecordingPlayback.h"

#include "controls/CustomTableHeaderView.h"
#include "controls/OrvoTableRowView.h"
#include "controls/ViewLayer.h"
#include "library/RecordingTableModel.h"
#include "ui_OrvoViewController.h"

#include "platform/system/Localization.h"
#include "platform/ui/ToolTips.h"

#include <QHeaderView>
#include <QTableView>

#include <algorithm>
#include <iterator>

OrvoViewController::OrvoViewController(QWidget* parent)
    : OrvoViewController(parent, std::make_unique<RecordingPlayback>()) {}

OrvoViewController::OrvoViewController(QWidget* parent, std::unique_ptr<RecordingPlayback> playback)
    : ViewController(parent), players(playback->players), orvoPlayer(playback->orvoPlayer),
      m_playback(std::move(playback)) {
    m_playback->hooks().didPlayToEnd = [this] { playerDidFinishPlaying(); };
}

OrvoViewController::~OrvoViewController() {
    // The players go first and take their pictures back from the views as they go.
    m_playback->releasePlayers();
    platform::logLine(platform::lcPlayer(), "OrvoViewController::deinit");
}

void OrvoViewController::loadView() {
    ui = std::make_unique<Ui::OrvoViewController>();
    ui->setupUi(this);
    ViewLayer::applyStoryboardLayers(this);
    // Views that share their place with others keep their frames while hidden,
    // so that what is measured on them (the chart marker's range, the map's
    // size) holds whether they show or not.
    for (QWidget* view :
         {ui->videoContentView, static_cast<QWidget*>(ui->defaultImgBtn), ui->motionView, ui->speedView,
          ui->chartIntervalView, static_cast<QWidget*>(ui->mapWebView),
          static_cast<QWidget*>(ui->mapDefaultImg), static_cast<QWidget*>(ui->logoFullScreenView)}) {
        QSizePolicy policy = view->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        view->setSizePolicy(policy);
    }

    // The recording table: its header view, its row drawing (the storyboard
    // leaves the platform's selection colour transparent) and its four columns.
    QTableView* table = ui->orvoTableView;
    auto* header = new CustomTableHeaderView(Qt::Horizontal, table);
    header->setObjectName(QStringLiteral("orvoTableHeaderView"));
    header->setFixedHeight(24);
    table->setHorizontalHeader(header);
    // The rows come from displayedRecordingList (RecordingTableModel).
    table->setModel(new RecordingTableModel(table));
    header->setStretchLastSection(true);
    // The date, time and channel columns are as wide as their titles or the texts a camera's
    // file names give them, whichever is wider, so that the location keeps the rest.
    const QString usualTexts[] = {QStringLiteral("20241108"), QStringLiteral("083000"),
                                  QStringLiteral("4CH")};
    for (int column = 0; column < int(std::size(usualTexts)); ++column) {
        const QString title = table->model()->headerData(column, Qt::Horizontal).toString();
        const int text = std::max(header->fontMetrics().horizontalAdvance(title),
                                  table->fontMetrics().horizontalAdvance(usualTexts[column]));
        header->resizeSection(column, text + 2 * CustomTableHeaderView::kTitleInset);
    }
    table->verticalHeader()->setDefaultSectionSize(19);
    table->verticalHeader()->setMinimumSectionSize(19);
    auto* rows = new OrvoTableRowView(table);
    table->setItemDelegate(rows);
    orvoTableHeaderView = header;
    orvoTableRowView = rows;

    // The player's keys belong to the list: it holds the focus from the start, and a click
    // anywhere in the window that lands on nothing taking focus brings the focus back to it.
    // The search field takes the keys only once it is clicked into or reached with Tab.
    setFocusPolicy(Qt::ClickFocus);
    setFocusProxy(table);
    QWidget::setTabOrder(table, ui->orvoSearchField);

    // The transport rows' tips show over the video, never over the next click's target.
    ToolTips::showAbove(ui->videoSliderView, {ui->videoSliderView, ui->orvoFooterView});

    connectOutlets();
    setUpPlayerContextMenu();
}

void OrvoViewController::connectOutlets() {
    orvoHeaderView = ui->orvoHeaderView;
    modelText = ui->modelText;
    versionTxt = ui->versionTxt;
    videoView = ui->videoView;
    videoNameText = ui->videoNameText;
    ch1Btn = ui->ch1Btn;
    ch2Btn = ui->ch2Btn;
    ch3Btn = ui->ch3Btn;
    ch4Btn = ui->ch4Btn;
    multipleModeBtn = ui->multipleModeBtn;
    defaultImgBtn = ui->defaultImgBtn;
    videoContentView = ui->videoContentView;
    infoView = ui->infoView;
    gpsOnOffImg = ui->gpsOnOffImg;
    gpsOnOffText = ui->gpsOnOffText;
    meterImg = ui->meterImg;
    meterValueText = ui->meterValueText;
    videoSliderView = ui->videoSliderView;
    videoSlider = ui->videoSlider;
    videoCurrentText = ui->videoCurrentText;
    videoTotalText = ui->videoTotalText;
    zoomMenu = ui->zoomMenu;
    speedMenu = ui->speedMenu;
    monoMenu = ui->monoMenu;
    motionBtn = ui->motionBtn;
    speedBtn = ui->speedBtn;
    motionView = ui->motionView;
    motionChartView = ui->motionChartView;
    motionXText = ui->motionXText;
    motionYText = ui->motionYText;
    motionZText = ui->motionZText;
    speedView = ui->speedView;
    speedChartView = ui->speedChartView;
    chartIntervalView = ui->chartIntervalView;
    chartInterval = ui->chartInterval;
    dataView = ui->dataView;
    mapView = ui->mapView;
    mapWebView = ui->mapWebView;
    mapDefaultImg = ui->mapDefaultImg;
    mapFirstLabel = ui->mapFirstLabel;
    mapSecondLabel = ui->mapSecondLabel;
    tableSortingMenu = ui->tableSortingMenu;
    orvoTableView = ui->orvoTableView;
    searchLayer = ui->searchLayer;
    orvoSearchField = ui->orvoSearchField;
    orvoFooterView = ui->orvoFooterView;
    openBtn = ui->openBtn;
    prevBtn = ui->prevBtn;
    rewindBtn = ui->rewindBtn;
    playPauseBtn = ui->playPauseBtn;
    stopBtn = ui->stopBtn;
    forwardBtn = ui->forwardBtn;
    nextBtn = ui->nextBtn;
    volumeBtn = ui->volumeBtn;
    soundLayer = ui->soundLayer;
    volumeSlider = ui->volumeSlider;
    volumeText = ui->volumeText;
    captureBtn = ui->captureBtn;
    repeatBtn = ui->repeatBtn;
    saveBtn = ui->saveBtn;
    settingBtn = ui->settingBtn;
    logoFullScreenView = ui->logoFullScreenView;
}
