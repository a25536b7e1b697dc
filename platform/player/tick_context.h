// Which timer run and tick the current thread is serving, so that the player can place a click
// requested from inside a timer callback on the run's frame grid without changing PlaySoundA.
#pragma once

#include <cstdint>

namespace platform::player {

// One run lasts from a timer's creation to its kill; ids never repeat within a process.
struct TickContext {
    std::uint64_t run = 0;       // 0: not inside a timer callback
    std::int64_t startNs = 0;    // the run's start on the monotonic clock
    std::uint32_t periodMs = 0;  // the run's interval
    std::uint64_t tick = 0;      // 1 for the first callback, due at start + period
};

// The context of the calling thread (a plain thread_local, so reading it is free).
const TickContext& CurrentTick();

// Sets the calling thread's context for the lifetime of the scope; timer services wrap each
// callback in one.
class TickScope {
  public:
    explicit TickScope(const TickContext& context);
    ~TickScope();
    TickScope(const TickScope&) = delete;
    TickScope& operator=(const TickScope&) = delete;

  private:
    TickContext saved_;
};

// When a tick is due, asked by a timer service on its own thread before each tick: the player
// answers from the stream's clock, so that ticks follow what is heard rather than the monotonic
// clock. Real-time path: no lock, allocation or I/O.
class TickPacer {
  public:
    virtual ~TickPacer() = default;
    // The monotonic time at which `tick` is due (at or before nowNs: fire it now).
    virtual std::int64_t DueNs(const TickContext& tick, std::int64_t nowNs) noexcept = 0;
};

// A tick's due time on the monotonic clock alone: the run's start plus k periods.
inline std::int64_t MonotonicDueNs(const TickContext& tick) {
    return tick.startNs + static_cast<std::int64_t>(tick.tick) * tick.periodMs * 1'000'000;
}

// A process-wide unique run number for a new timer.
std::uint64_t NewRunId();

}  // namespace platform::player
