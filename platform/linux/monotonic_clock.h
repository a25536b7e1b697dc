// CLOCK_MONOTONIC in nanoseconds: the one clock that the timer thread and the player share.
#pragma once

#include <time.h>

#include <cstdint>

#include "platform/player/monotonic_clock.h"

namespace platform::linux_backend {

inline std::int64_t MonotonicNowNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return std::int64_t{ts.tv_sec} * 1'000'000'000 + ts.tv_nsec;
}

class SystemMonotonicClock : public player::MonotonicClock {
  public:
    std::int64_t NowNs() const override { return MonotonicNowNs(); }
};

}  // namespace platform::linux_backend
