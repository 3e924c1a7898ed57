#pragma once

#include "metadata/orvoPacketModel.h"

#include <QPointer>
#include <QWidget>

#include <optional>

// The packet model a chart draws (its `orvoPacket`): an optional
// orvoPacketModel that asks its chart to repaint whenever a model is set or
// the model is emptied, so the chart never keeps showing the previous
// recording, or nothing, until something else repaints it.
class ChartPacket {
public:
    explicit ChartPacket(QWidget* chart) : m_chart(chart) {}
    ChartPacket(const ChartPacket&) = delete;
    ChartPacket& operator=(const ChartPacket&) = delete;

    // Sets the model (none empties it) and schedules a repaint of the chart.
    ChartPacket& operator=(std::optional<orvoPacketModel> model);
    // Empties the model; repaints only when there was one.
    void reset();

    bool has_value() const { return m_model.has_value(); }
    explicit operator bool() const { return m_model.has_value(); }
    const orvoPacketModel& operator*() const { return *m_model; }
    const orvoPacketModel* operator->() const { return &*m_model; }
    const std::optional<orvoPacketModel>& model() const { return m_model; }

private:
    void repaint();

    QPointer<QWidget> m_chart;
    std::optional<orvoPacketModel> m_model;
};
