#pragma once

#include <QString>

#include <compare>
#include <cstdint>

// A rational media time: value / timescale seconds, with flags for the special times
// (invalid, indefinite, infinities) and an epoch that orders times of different loops.
class MediaTime {
public:
    enum Flag : std::uint32_t {
        Valid = 1u << 0,
        HasBeenRounded = 1u << 1,
        PositiveInfinity = 1u << 2,
        NegativeInfinity = 1u << 3,
        Indefinite = 1u << 4,
    };

    // The invalid time.
    constexpr MediaTime() = default;
    // value / timescale seconds; a timescale of 0 or less gives the invalid time.
    constexpr MediaTime(std::int64_t value, std::int32_t timescale, std::int64_t epoch = 0)
        : m_value(value), m_timescale(timescale), m_flags(timescale > 0 ? Valid : 0u),
          m_epoch(timescale > 0 ? epoch : 0) {
        if (timescale <= 0)
            m_value = 0;
    }

    static constexpr MediaTime zero() { return MediaTime(0, 1); }
    static constexpr MediaTime invalid() { return MediaTime(); }
    static MediaTime indefinite();
    static MediaTime positiveInfinity();
    static MediaTime negativeInfinity();
    // The time nearest to `seconds` in units of 1/preferredTimescale; NaN gives the invalid time,
    // infinite seconds give the matching infinity.
    static MediaTime makeWithSeconds(double seconds, std::int32_t preferredTimescale);

    std::int64_t value() const { return m_value; }
    std::int32_t timescale() const { return m_timescale; }
    std::uint32_t flags() const { return m_flags; }
    std::int64_t epoch() const { return m_epoch; }

    bool isValid() const { return (m_flags & Valid) != 0; }
    bool isIndefinite() const { return isValid() && (m_flags & Indefinite) != 0; }
    bool isPositiveInfinity() const { return isValid() && (m_flags & PositiveInfinity) != 0; }
    bool isNegativeInfinity() const { return isValid() && (m_flags & NegativeInfinity) != 0; }
    // Valid and neither indefinite nor infinite.
    bool isNumeric() const;

    // The time in seconds; NaN for invalid and indefinite times, +-infinity for the infinities.
    double seconds() const;
    // The same time in another timescale, rounded to nearest.
    MediaTime convertScale(std::int32_t newTimescale) const;

    // Orders like the media framework: invalid < -inf < numeric (by epoch, then value) < +inf;
    // indefinite equals indefinite and sorts after numeric times.
    static int compare(const MediaTime& a, const MediaTime& b);
    friend bool operator==(const MediaTime& a, const MediaTime& b) { return compare(a, b) == 0; }
    friend std::strong_ordering operator<=>(const MediaTime& a, const MediaTime& b) {
        return compare(a, b) <=> 0;
    }

    // Sum and difference; a non-numeric operand gives an invalid or infinite result.
    friend MediaTime operator+(const MediaTime& a, const MediaTime& b);
    friend MediaTime operator-(const MediaTime& a, const MediaTime& b);

    static MediaTime minimum(const MediaTime& a, const MediaTime& b) { return compare(a, b) <= 0 ? a : b; }
    static MediaTime maximum(const MediaTime& a, const MediaTime& b) { return compare(a, b) >= 0 ? a : b; }

    // "{value/timescale = seconds}" for logs.
    QString description() const;

private:
    static MediaTime special(std::uint32_t flag);

    std::int64_t m_value = 0;
    std::int32_t m_timescale = 0;
    std::uint32_t m_flags = 0;
    std::int64_t m_epoch = 0;
};

// A span of media time: a start and a duration.
struct MediaTimeRange {
    MediaTime start;
    MediaTime duration;

    MediaTimeRange() = default;
    MediaTimeRange(MediaTime rangeStart, MediaTime rangeDuration)
        : start(rangeStart), duration(rangeDuration) {}

    MediaTime end() const { return start + duration; }
    // Both ends numeric and a duration of zero or more.
    bool isValid() const;
    bool isEmpty() const { return !isValid() || duration.value() == 0; }
    friend bool operator==(const MediaTimeRange& a, const MediaTimeRange& b) {
        return a.start == b.start && a.duration == b.duration;
    }
};
