#pragma once

#include <QHashFunctions>

#include <cstddef>
#include <functional>

// The channel mode of the players; the case index is the underlying value.
enum class mode : int {
    ch1 = 0,         // channel 1 (the front camera, the selected file itself)
    ch2 = 1,         // channel 2
    ch3 = 2,         // channel 3
    ch4 = 3,         // channel 4
    multiple_ch = 4, // every channel of the recording at once
    none_ch = 5,     // no channel
};

// The case index of `m` (0-5).
constexpr int modeIndex(mode m) {
    return static_cast<int>(m);
}

// The channel a single-channel mode shows (ch1-ch4: 0-3); -1 for multiple_ch and none_ch.
constexpr int channelIndexOf(mode m) {
    return modeIndex(m) <= modeIndex(mode::ch4) ? modeIndex(m) : -1;
}

// The channel whose player carries the sound: the shown one, or channel 1 when all
// channels show; -1 for none_ch.
constexpr int soundChannelOf(mode m) {
    return m == mode::multiple_ch ? 0 : channelIndexOf(m);
}

// The mode's name as the players print it ("ch1" ... "none_ch").
constexpr const char* modeName(mode m) {
    switch (m) {
    case mode::ch1:
        return "ch1";
    case mode::ch2:
        return "ch2";
    case mode::ch3:
        return "ch3";
    case mode::ch4:
        return "ch4";
    case mode::multiple_ch:
        return "multiple_ch";
    case mode::none_ch:
        return "none_ch";
    }
    return "none_ch";
}

inline size_t qHash(mode m, size_t seed = 0) noexcept {
    return ::qHash(modeIndex(m), seed);
}

template <> struct std::hash<mode> {
    std::size_t operator()(mode m) const noexcept { return std::hash<int>{}(modeIndex(m)); }
};
