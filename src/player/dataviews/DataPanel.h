#pragma once

#include "metadata/OrvoVideoPacket.h"
#include "platform/media/MediaTime.h"
#include "platform/ui/LayoutConstraint.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class BarSliderCell;
class ImageButtonCell;
class MapPage;
class QLabel;
class QWidget;

// The data panel of the window player: the metadata of the play position as
// G-sensor texts, a speed text and meter, a GPS indicator, a marker over the
// charts at the position, and the position on the map page. Every update
// recomputes everything from the position slider. Main thread only.
class DataPanel {
public:
    // The window player's views the panel works on; any may be missing.
    struct Outlets {
        QPointer<QWidget> chartIntervalView;
        // The layout constraints of chartIntervalView.
        std::function<QList<LayoutConstraint>()> chartIntervalConstraints;
        QPointer<BarSliderCell> videoSlider;
        QPointer<QLabel> motionXText;
        QPointer<QLabel> motionYText;
        QPointer<QLabel> motionZText;
        QPointer<QLabel> meterValueText;
        QPointer<ImageButtonCell> meterImg;
        QPointer<ImageButtonCell> gpsOnOffImg;
        QPointer<QLabel> gpsOnOffText;
        // The current time of the shown player's item; none without a player or item.
        std::function<std::optional<MediaTime>()> currentItemTime;
    };

    DataPanel(const Outlets& outlets, MapPage& mapPage) : m_outlets(outlets), m_mapPage(mapPage) {}

    void setOutlets(const Outlets& outlets) { m_outlets = outlets; }
    const Outlets& outlets() const { return m_outlets; }

    // Shows the metadata of the slider's position. With `replay` (after a seek
    // with the slider) the map's route is drawn again up to the position;
    // otherwise only the position is sent to the map.
    void updateDataPanel(bool replay);
    // Moves the chart marker with the slider; only the constraint
    // "chartIntervalLeading" is changed.
    void updateChartIntervalPosition(LayoutConstraint& constraint);

    // The packet shown for a slider value (0 to 1) among `count` packets: the
    // value times the count, truncated; 1.0 and anything beyond give the last
    // packet, anything below 0 (or not a number) the first. None without packets.
    static std::optional<qsizetype> packetIndex(double sliderValue, qsizetype count);
    // "X : 0.12" for a value, "X : " without one ("%.2f").
    static QString motionText(const QString& prefix, std::optional<float> value);
    // The speed as shown: the truncated whole number; none when absent or not a
    // plausible number (not finite, or beyond +-1,000,000), then "--" shows.
    static std::optional<qint64> speedValue(std::optional<float> speed);
    // The meter image of a whole speed: "speed_graph_" + speed / 4, held to
    // "speed_graph_0" below 0 and "speed_graph_49" from 196 on.
    static QString meterImageName(qint64 speed);

    // The texts and map message shown when there is no metadata: "X : ",
    // "Y : ", "Z : ", "--" and the map's no-position message.
    void showEmpty();

private:
    void showGpsOff();
    double sliderValue() const;

    Outlets m_outlets;
    MapPage& m_mapPage;
};
