// The monotonic clock as the player sees it: real on the machine, virtual in the tests.
#pragma once

#include <cstdint>

namespace platform::player {

class MonotonicClock {
  public:
    virtual ~MonotonicClock() = default;
    virtual std::int64_t NowNs() const = 0;
};

}  // namespace platform::player
