#include "player/dataviews/DataPanel.h"

#include "controls/BarSliderCell.h"
#include "controls/ImageButtonCell.h"
#include "metadata/PacketCache.h"
#include "platform/system/Localization.h"
#include "platform/ui/Assets.h"
#include "player/dataviews/MapPage.h"
#include "shared/PlayerState.h"

#include <QLabel>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr char kChartIntervalLeading[] = "chartIntervalLeading";
constexpr char kGpsOnText[] = "GPS On";
constexpr char kGpsOffText[] = "GPS Off";
constexpr char kNoSpeedText[] = "--";
constexpr double kMaxShownSpeed = 1000000.0;

void setText(QLabel* label, const QString& text) {
    if (label)
        label->setText(text);
}

void setImage(ImageButtonCell* button, const QString& name) {
    if (button)
        button->setImageName(name);
}

} // namespace

double DataPanel::sliderValue() const {
    return m_outlets.videoSlider ? m_outlets.videoSlider->doubleValue() : 0.0;
}

std::optional<qsizetype> DataPanel::packetIndex(double sliderValue, qsizetype count) {
    if (count <= 0)
        return std::nullopt;
    if (!(sliderValue > 0.0))
        return 0;
    const double scaled = std::trunc(sliderValue * static_cast<double>(count));
    if (scaled >= static_cast<double>(count))
        return count - 1;
    return static_cast<qsizetype>(scaled);
}

QString DataPanel::motionText(const QString& prefix, std::optional<float> value) {
    if (!value)
        return prefix;
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.2f", static_cast<double>(*value));
    return prefix + QString::fromLatin1(digits);
}

std::optional<qint64> DataPanel::speedValue(std::optional<float> speed) {
    if (!speed || !std::isfinite(*speed) || std::fabs(static_cast<double>(*speed)) > kMaxShownSpeed)
        return std::nullopt;
    return static_cast<qint64>(std::trunc(static_cast<double>(*speed)));
}

QString DataPanel::meterImageName(qint64 speed) {
    const qint64 step = std::clamp<qint64>(speed / 4, 0, AssetName::kSpeedGraphCount - 1);
    return AssetName::speedGraphImage(static_cast<int>(step));
}

void DataPanel::updateChartIntervalPosition(LayoutConstraint& constraint) {
    if (constraint.identifier() != QLatin1String(kChartIntervalLeading) || !m_outlets.chartIntervalView)
        return;
    const QRectF bounds(m_outlets.chartIntervalView->rect());
    const double value = sliderValue();
    if (bounds.width() * value >= bounds.x() + bounds.width())
        constraint.setConstant(bounds.x() + bounds.width() - 1.0);
    else
        constraint.setConstant(bounds.x() + bounds.width() * value);
}

void DataPanel::showEmpty() {
    setText(m_outlets.motionXText, QStringLiteral("X : "));
    setText(m_outlets.motionYText, QStringLiteral("Y : "));
    setText(m_outlets.motionZText, QStringLiteral("Z : "));
    setText(m_outlets.meterValueText, QString::fromLatin1(kNoSpeedText));
    m_mapPage.showMapMessage(false, false, isNetworkConnected.load());
}

void DataPanel::showGpsOff() {
    setImage(m_outlets.gpsOnOffImg, QString::fromLatin1(AssetName::kGpsOff));
    setText(m_outlets.gpsOnOffText, localized(kGpsOffText));
}

void DataPanel::updateDataPanel(bool replay) {
    // The chart marker follows the slider; it hides at the very start.
    if (m_outlets.chartIntervalConstraints) {
        QList<LayoutConstraint> constraints = m_outlets.chartIntervalConstraints();
        for (LayoutConstraint& constraint : constraints)
            updateChartIntervalPosition(constraint);
    }
    if (m_outlets.chartIntervalView) {
        const std::optional<MediaTime> time =
            m_outlets.currentItemTime ? m_outlets.currentItemTime() : std::optional<MediaTime>();
        m_outlets.chartIntervalView->setVisible(time && !(*time == MediaTime::zero()));
    }

    const std::optional<orvoPacketModel> model =
        currentRecording ? packetModelForURL(currentRecording->url) : std::nullopt;
    const std::optional<qsizetype> index =
        model ? packetIndex(sliderValue(), model->packet.size()) : std::nullopt;
    if (!index) {
        showEmpty();
        return;
    }
    const OrvoVideoPacket& packet = model->packet[*index];

    setText(m_outlets.motionXText, motionText(QStringLiteral("X : "), packet.gsensor_x));
    setText(m_outlets.motionYText, motionText(QStringLiteral("Y : "), packet.gsensor_y));
    setText(m_outlets.motionZText, motionText(QStringLiteral("Z : "), packet.gsensor_z));

    if (const std::optional<qint64> speed = speedValue(packet.gps_speed)) {
        setText(m_outlets.meterValueText, QString::number(*speed));
        setImage(m_outlets.meterImg, meterImageName(*speed));
    } else {
        setText(m_outlets.meterValueText, QString::fromLatin1(kNoSpeedText));
    }

    const bool connected = isNetworkConnected.load();
    if (!packet.gps_latitude || !packet.gps_longitude) {
        m_mapPage.showMapMessage(false, false, connected);
        showGpsOff();
    } else if (*packet.gps_latitude == 0.0f && *packet.gps_longitude == 0.0f) {
        m_mapPage.showMapMessage(true, false, connected);
        showGpsOff();
    } else {
        m_mapPage.showMapMessage(true, true, connected);
        setImage(m_outlets.gpsOnOffImg, QString::fromLatin1(AssetName::kGpsOn));
        setText(m_outlets.gpsOnOffText, localized(kGpsOnText));
        if (replay)
            m_mapPage.redrawMapTrack(*index);
        else
            m_mapPage.updateMapPosition(packet.gps_dir_lati, packet.gps_dir_longi, *packet.gps_latitude,
                                        *packet.gps_longitude);
    }
}
