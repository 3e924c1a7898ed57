#include "player/dataviews/ChartGeometry.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace ChartGeometry {

namespace {

// Values far outside the chart still draw outside it; beyond this distance
// they are held at it, which looks the same and keeps the painter's
// coordinates in a range it handles.
constexpr float kFarOutside = 100000.0f;

// Appends one sample's horizontal segment at height y.
void addSegment(QPainterPath& path, float x, float width, float y, const QRectF& rect) {
    if (!std::isfinite(y))
        return;
    const float low = static_cast<float>(rect.y()) - kFarOutside;
    const float high = static_cast<float>(rect.y() + rect.height()) + kFarOutside;
    y = std::clamp(y, low, high);
    path.moveTo(x, y);
    path.lineTo(x + width, y);
}

} // namespace

QPainterPath sheetPath(const QRectF& rect) {
    const float minX = static_cast<float>(rect.x());
    const float width = static_cast<float>(rect.width());
    const float minY = static_cast<float>(rect.y()) + 0.5f;
    const float height = static_cast<float>(rect.height()) - 1.0f;
    QPainterPath path;
    for (int k = 0; k <= 4; ++k) {
        const float y = minY + height * 0.25f * static_cast<float>(k);
        path.moveTo(minX, y);
        path.lineTo(minX + width, y);
    }
    return path;
}

std::array<QPainterPath, 3> gsensorPaths(const QList<OrvoVideoPacket>& packets, const QRectF& rect) {
    std::array<QPainterPath, 3> paths;
    if (packets.isEmpty())
        return paths;
    const float step = static_cast<float>(rect.width()) / static_cast<float>(packets.size());
    const float minY = static_cast<float>(rect.y());
    const float height = static_cast<float>(rect.height());
    for (qsizetype i = 0; i < packets.size(); ++i) {
        const OrvoVideoPacket& packet = packets[i];
        const float x = step * static_cast<float>(i);
        const std::optional<float> values[3] = {packet.gsensor_x, packet.gsensor_y, packet.gsensor_z};
        for (int axis = 0; axis < 3; ++axis) {
            if (values[axis])
                addSegment(paths[axis], x, step, minY + (*values[axis] + 2.0f) * height * 0.25f, rect);
        }
    }
    return paths;
}

QPainterPath speedPath(const QList<OrvoVideoPacket>& packets, const QRectF& rect) {
    QPainterPath path;
    if (packets.isEmpty())
        return path;
    const float step = static_cast<float>(rect.width()) / static_cast<float>(packets.size());
    const float minY = static_cast<float>(rect.y());
    const float height = static_cast<float>(rect.height());
    for (qsizetype i = 0; i < packets.size(); ++i) {
        if (const std::optional<float> speed = packets[i].gps_speed)
            addSegment(path, step * static_cast<float>(i), step, minY + height / 200.0f * *speed, rect);
    }
    return path;
}

} // namespace ChartGeometry
