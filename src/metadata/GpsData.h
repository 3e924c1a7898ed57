#pragma once

// One GPS fix as the facade hands it out: speed, latitude and longitude as 32-bit floats.
class GpsData {
public:
    GpsData() = default;
    GpsData(float speed, float lat, float lng) : m_speed(speed), m_lat(lat), m_lng(lng) {}

    float getSpeed() const { return m_speed; }
    float getLat() const { return m_lat; }
    float getLng() const { return m_lng; }

    bool operator==(const GpsData&) const = default;

private:
    float m_speed = 0;
    float m_lat = 0;
    float m_lng = 0;
};
