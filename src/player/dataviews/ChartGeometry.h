#pragma once

#include "metadata/OrvoVideoPacket.h"

#include <QList>
#include <QPainterPath>
#include <QRectF>

#include <array>

// The paths of the data panel's charts, in a view's unflipped coordinates
// (y growing upwards). Computed in 32-bit floats.
namespace ChartGeometry {

// The grid: five horizontal lines over `rect` raised by half a point and one
// point lower (so 1-point lines fall on whole pixels): the bottom edge, the
// quarter lines and the top edge.
QPainterPath sheetPath(const QRectF& rect);

// One path per G-sensor axis (x, y, z). Sample i of n is a horizontal
// segment from rect.width / n * i to the next such x (starting at x = 0 of
// the view, not at rect's left edge), at rect.minY + (v + 2) * rect.height / 4:
// -2 g on the bottom edge, 0 on the middle line, +2 g on the top edge. Values
// outside that range are drawn outside the grid; an absent or non-finite value
// leaves a gap.
std::array<QPainterPath, 3> gsensorPaths(const QList<OrvoVideoPacket>& packets, const QRectF& rect);

// The speed path: the same segments at rect.minY + rect.height / 200 * speed
// (0 to 200 km/h over the height; higher speeds above it).
QPainterPath speedPath(const QList<OrvoVideoPacket>& packets, const QRectF& rect);

} // namespace ChartGeometry
