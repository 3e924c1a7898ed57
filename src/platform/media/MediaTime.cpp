#include "platform/media/MediaTime.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

// a * b / c rounded to nearest, without overflow for the magnitudes media times use.
std::int64_t rescale(std::int64_t value, std::int64_t to, std::int64_t from) {
    const __int128 product = static_cast<__int128>(value) * to;
    __int128 q = product / from;
    const __int128 r = product % from;
    if (2 * (r < 0 ? -r : r) >= from)
        q += (product < 0) ? -1 : 1;
    if (q > std::numeric_limits<std::int64_t>::max())
        return std::numeric_limits<std::int64_t>::max();
    if (q < std::numeric_limits<std::int64_t>::min())
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(q);
}

// Rank of the special kinds for ordering.
int rank(const MediaTime& t) {
    if (!t.isValid())
        return 0;
    if (t.isNegativeInfinity())
        return 1;
    if (t.isPositiveInfinity())
        return 3;
    if (t.isIndefinite())
        return 4;
    return 2;
}

} // namespace

MediaTime MediaTime::special(std::uint32_t flag) {
    MediaTime t(0, 1);
    t.m_flags = Valid | flag;
    t.m_timescale = 0;
    return t;
}

MediaTime MediaTime::indefinite() {
    return special(Indefinite);
}
MediaTime MediaTime::positiveInfinity() {
    return special(PositiveInfinity);
}
MediaTime MediaTime::negativeInfinity() {
    return special(NegativeInfinity);
}

MediaTime MediaTime::makeWithSeconds(double seconds, std::int32_t preferredTimescale) {
    if (std::isnan(seconds))
        return invalid();
    if (std::isinf(seconds))
        return seconds > 0 ? positiveInfinity() : negativeInfinity();
    if (preferredTimescale <= 0)
        preferredTimescale = 1;
    const double scaled = seconds * preferredTimescale;
    if (scaled >= 9.2e18 || scaled <= -9.2e18)
        return seconds > 0 ? positiveInfinity() : negativeInfinity();
    MediaTime t(static_cast<std::int64_t>(std::llround(scaled)), preferredTimescale);
    if (static_cast<double>(t.m_value) != scaled)
        t.m_flags |= HasBeenRounded;
    return t;
}

bool MediaTime::isNumeric() const {
    return isValid() && (m_flags & (Indefinite | PositiveInfinity | NegativeInfinity)) == 0 &&
           m_timescale > 0;
}

double MediaTime::seconds() const {
    if (isPositiveInfinity())
        return std::numeric_limits<double>::infinity();
    if (isNegativeInfinity())
        return -std::numeric_limits<double>::infinity();
    if (!isNumeric())
        return std::numeric_limits<double>::quiet_NaN();
    return static_cast<double>(m_value) / m_timescale;
}

MediaTime MediaTime::convertScale(std::int32_t newTimescale) const {
    if (!isNumeric() || newTimescale <= 0)
        return *this;
    MediaTime t(rescale(m_value, newTimescale, m_timescale), newTimescale, m_epoch);
    if (rescale(t.m_value, m_timescale, newTimescale) != m_value)
        t.m_flags |= HasBeenRounded;
    return t;
}

int MediaTime::compare(const MediaTime& a, const MediaTime& b) {
    const int ra = rank(a), rb = rank(b);
    if (ra != rb)
        return ra < rb ? -1 : 1;
    if (ra != 2)
        return 0;
    if (a.m_epoch != b.m_epoch)
        return a.m_epoch < b.m_epoch ? -1 : 1;
    const __int128 l = static_cast<__int128>(a.m_value) * b.m_timescale;
    const __int128 r = static_cast<__int128>(b.m_value) * a.m_timescale;
    return l < r ? -1 : (l > r ? 1 : 0);
}

namespace {

MediaTime combine(const MediaTime& a, const MediaTime& b, int sign) {
    if (!a.isValid() || !b.isValid())
        return MediaTime::invalid();
    if (a.isIndefinite() || b.isIndefinite())
        return MediaTime::indefinite();
    const bool aInf = a.isPositiveInfinity() || a.isNegativeInfinity();
    const bool bInf = b.isPositiveInfinity() || b.isNegativeInfinity();
    if (aInf || bInf) {
        const int sa = a.isPositiveInfinity() ? 1 : (a.isNegativeInfinity() ? -1 : 0);
        const int sb = (b.isPositiveInfinity() ? 1 : (b.isNegativeInfinity() ? -1 : 0)) * sign;
        if (sa != 0 && sb != 0 && sa != sb)
            return MediaTime::indefinite();
        return (sa + sb) > 0 ? MediaTime::positiveInfinity() : MediaTime::negativeInfinity();
    }
    if (a.timescale() == b.timescale())
        return MediaTime(a.value() + sign * b.value(), a.timescale(), a.epoch());
    // A common timescale that holds both exactly when it fits, else the finer of the two.
    const std::int64_t common =
        std::lcm(static_cast<std::int64_t>(a.timescale()), static_cast<std::int64_t>(b.timescale()));
    const std::int32_t ts = common <= std::numeric_limits<std::int32_t>::max()
                                ? static_cast<std::int32_t>(common)
                                : std::max(a.timescale(), b.timescale());
    const MediaTime ca = a.convertScale(ts), cb = b.convertScale(ts);
    MediaTime r(ca.value() + sign * cb.value(), ts, a.epoch());
    return r;
}

} // namespace

MediaTime operator+(const MediaTime& a, const MediaTime& b) {
    return combine(a, b, 1);
}
MediaTime operator-(const MediaTime& a, const MediaTime& b) {
    return combine(a, b, -1);
}

QString MediaTime::description() const {
    if (!isValid())
        return QStringLiteral("{INVALID}");
    if (isIndefinite())
        return QStringLiteral("{INDEFINITE}");
    if (isPositiveInfinity())
        return QStringLiteral("{+INFINITY}");
    if (isNegativeInfinity())
        return QStringLiteral("{-INFINITY}");
    return QStringLiteral("{%1/%2 = %3}").arg(m_value).arg(m_timescale).arg(seconds(), 0, 'f', 3);
}

bool MediaTimeRange::isValid() const {
    return start.isNumeric() && duration.isNumeric() && duration.value() >= 0;
}
