// The window player's data panel, charts and map page: thin entries onto
// DataPanel and MapPage, which hold the logic.

#include "player/window/OrvoViewController.h"

#include "controls/AssetColor.h"
#include "controls/CustomButton.h"
#include "controls/DefaultButtonStyle.h"
#include "controls/DefaultImgBtnCell.h"
#include "controls/ViewLayer.h"
#include "player/dataviews/DataPanel.h"
#include "player/dataviews/MapPage.h"
#include "player/dataviews/OrvoGraphChartView.h"
#include "player/dataviews/OrvoLineChartView.h"
#include "shared/PlayerState.h"
#include "ui_OrvoViewController.h"

#include "platform/system/Localization.h"
#include "platform/ui/Assets.h"

#include "platform/media/Player.h"
#include "platform/media/PlayerItem.h"
#include "platform/web/WebView.h"

MapPage& OrvoViewController::mapPage() {
    if (!m_mapPage)
        m_mapPage = std::make_shared<MapPage>();
    // The outlets are read at each use: they exist only once the view has loaded.
    m_mapPage->setOutlets({mapWebView, mapDefaultImg.data(), mapFirstLabel, mapSecondLabel});
    return *m_mapPage;
}

DataPanel& OrvoViewController::dataPanel() {
    // The chart marker is placed from the marker view's bounds, also while the
    // view is hidden: keep it laid out over the charts when hidden.
    if (chartIntervalView && !chartIntervalView->sizePolicy().retainSizeWhenHidden()) {
        QSizePolicy policy = chartIntervalView->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        chartIntervalView->setSizePolicy(policy);
    }
    DataPanel::Outlets outlets;
    outlets.chartIntervalView = chartIntervalView;
    outlets.chartIntervalConstraints = [this] { return chartIntervalConstraints(); };
    outlets.videoSlider = videoSlider.data();
    outlets.motionXText = motionXText;
    outlets.motionYText = motionYText;
    outlets.motionZText = motionZText;
    outlets.meterValueText = meterValueText;
    outlets.meterImg = meterImg.data();
    outlets.gpsOnOffImg = gpsOnOffImg.data();
    outlets.gpsOnOffText = gpsOnOffText;
    outlets.currentItemTime = [this] { return orvoPlayerItemTime(); };
    MapPage& map = mapPage();
    if (!m_dataPanel)
        m_dataPanel = std::make_shared<DataPanel>(outlets, map);
    else
        m_dataPanel->setOutlets(outlets);
    return *m_dataPanel;
}

std::optional<MediaTime> OrvoViewController::orvoPlayerItemTime() const {
    if (!orvoPlayer)
        return std::nullopt;
    const std::shared_ptr<PlayerItem> item = orvoPlayer->currentItem();
    if (!item)
        return std::nullopt;
    return item->currentTime();
}

QList<LayoutConstraint> OrvoViewController::chartIntervalConstraints() const {
    if (!ui || !ui->chartIntervalLeading || !ui->chartIntervalLayout)
        return {};
    return {LayoutConstraint(QStringLiteral("chartIntervalLeading"), ui->chartIntervalLeading,
                             ui->chartIntervalLayout)};
}

void OrvoViewController::loadMapPage(bool withGps) {
    mapPage().loadMapPage(withGps);
}

void OrvoViewController::showMapMessage(bool hasPosition, bool showMap, bool connected) {
    mapPage().showMapMessage(hasPosition, showMap, connected);
}

void OrvoViewController::updateMapPosition(std::uint32_t dirLat, std::uint32_t dirLng, float lat, float lng) {
    mapPage().updateMapPosition(dirLat, dirLng, lat, lng);
}

void OrvoViewController::redrawMapTrack(qint64 index) {
    mapPage().redrawMapTrack(index);
}

void OrvoViewController::updateDataPanel(bool replay) {
    dataPanel().updateDataPanel(replay);
}

void OrvoViewController::clearDataPanelTexts() {
    dataPanel().showEmpty();
}

void OrvoViewController::updateChartIntervalPosition(LayoutConstraint& constraint) {
    dataPanel().updateChartIntervalPosition(constraint);
}

void OrvoViewController::onMotionBtnTap() {
    dataPanelIndex = 0;
    showDataPanel(false, true);
}

void OrvoViewController::onSpeedBtnTap() {
    dataPanelIndex = 1;
    showDataPanel(true, true);
}

void OrvoViewController::setChartPackets(const std::optional<orvoPacketModel>& model) {
    if (motionChartView)
        motionChartView->orvoPacket = model;
    if (speedChartView)
        speedChartView->orvoPacket = model;
}

void OrvoViewController::clearDataPanel() {
    if (motionChartView) {
        motionChartView->orvoPacket.reset();
        motionChartView->drawChart(QRectF(motionChartView->rect()));
        motionChartView->update();
    }
    if (speedChartView) {
        speedChartView->orvoPacket.reset();
        speedChartView->drawChart(QRectF(speedChartView->rect()));
        speedChartView->update();
    }
    // The marker goes back to the left edge.
    for (LayoutConstraint& constraint : chartIntervalConstraints())
        if (constraint.identifier() == QLatin1String("chartIntervalLeading") && chartIntervalView)
            constraint.setConstant(chartIntervalView->rect().x());
    clearDataPanelTexts();
    if (gpsOnOffImg)
        gpsOnOffImg->setImageName(QStringLiteral("img_gps_off"));
    if (gpsOnOffText)
        gpsOnOffText->setText(localized("GPS Off"));
    if (meterImg)
        meterImg->setImageName(QStringLiteral("speed_graph_0"));
}

void OrvoViewController::showDataPanel(bool speed, bool activate) {
    const QColor keyColor = assetColor(QLatin1String(AssetName::kKeyColor));
    if (speed) {
        if (motionView)
            motionView->hide();
        if (speedView)
            speedView->show();
        if (speedBtn) {
            speedBtn->setIsActivated(activate);
            ViewLayer::setBackgroundColor(speedBtn, keyColor);
        }
        applyDefaultButtonBackground(motionBtn);
    } else {
        if (speedView)
            speedView->hide();
        if (motionView)
            motionView->show();
        if (motionBtn) {
            motionBtn->setIsActivated(activate);
            ViewLayer::setBackgroundColor(motionBtn, keyColor);
        }
        applyDefaultButtonBackground(speedBtn);
    }
    if (motionBtn)
        motionBtn->setText(localized("충격센서"));
    if (speedBtn)
        speedBtn->setText(localized("속도"));
}
