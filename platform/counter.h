// The high-resolution performance counter: 10,000,000 ticks a second (100 ns each) from the
// monotonic clock, as on current desktops, so that delay counts written for that pace keep it.
#pragma once

#include <cstdint>
#include <ctime>

namespace voltaro::platform {

inline constexpr std::int64_t kCounterFrequency = 10'000'000;  // ticks per second

// Ticks since an arbitrary start; never goes backwards.
inline std::int64_t performanceCounter() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * kCounterFrequency + now.tv_nsec / 100;
}

}  // namespace voltaro::platform
