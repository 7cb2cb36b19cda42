// The busy-wait delay that Lag, Sync and SpnFrm share, counted in raw ticks of the performance
// counter (platform/counter.h, 100 ns each).
#pragma once

#include <cstdint>

#include "platform/counter.h"

namespace voltaro::zephlib {

// Spins until the counter has advanced by at least `ticks` from its first reading; a count of 0
// or less returns at once. Processes nothing meanwhile. Returns the low 32 bits of the first
// reading plus `ticks`.
inline std::int32_t busyWait(std::int32_t ticks) {
    const std::int64_t start = platform::performanceCounter();
    if (ticks > 0) {
        while (platform::performanceCounter() - start < ticks) {
        }
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(start + ticks));
}

}  // namespace voltaro::zephlib
