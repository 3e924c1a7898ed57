#pragma once

// One G-sensor sample as the facade hands it out.
class SensorData {
public:
    SensorData() = default;
    SensorData(float x, float y, float z) : m_x(x), m_y(y), m_z(z) {}

    float getX() const { return m_x; }
    float getY() const { return m_y; }
    float getZ() const { return m_z; }

    bool operator==(const SensorData&) const = default;

private:
    float m_x = 0;
    float m_y = 0;
    float m_z = 0;
};
