#include "player/dataviews/ChartPacket.h"

ChartPacket& ChartPacket::operator=(std::optional<orvoPacketModel> model) {
    m_model = std::move(model);
    repaint();
    return *this;
}

void ChartPacket::reset() {
    if (!m_model)
        return;
    m_model.reset();
    repaint();
}

void ChartPacket::repaint() {
    // A draw empties an unusable model itself: update() only schedules, so no draw nests in another.
    if (m_chart)
        m_chart->update();
}
