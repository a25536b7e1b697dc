// The player's timer-thread side: counts each run of the timer in the stream's frames from its
// anchor, says when a tick is due, and places the clicks played inside a tick on the run's grid.
// Touched by the timer thread only; it reads the stream clock and the landed record, which the
// audio callback writes, and never waits for them.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "platform/player/landed_record.h"
#include "platform/player/monotonic_clock.h"
#include "platform/player/player_options.h"
#include "platform/player/stream_clock.h"
#include "platform/player/tick_context.h"

namespace platform::player {

class TickPlacer {
  public:
    TickPlacer(const PlayerOptions& options, const MonotonicClock& clock, const StreamClock& stream,
               const LandedRecord& landed);

    // The monotonic time at which `tick` is due (at or before nowNs: fire it now).
    std::int64_t DueNs(const TickContext& tick, std::int64_t nowNs) noexcept;
    // The frame on which a click played inside `tick` sounds; PlayRequest::kAsap without a stream.
    std::int64_t Place(const TickContext& tick) noexcept;

    // Any thread: whether the output writes over written frames (a request reaches nearer).
    void SetRewriting(bool rewriting) noexcept {
        rewriting_.store(rewriting, std::memory_order_relaxed);
    }
    // Runs put on a new anchor: a new stream, or a stream that jumped far from its count.
    std::int64_t Reanchors() const noexcept { return reanchors_.load(std::memory_order_relaxed); }

  private:
    struct Run {
        std::uint64_t id = 0;
        bool anchored = false;  // counted in a stream's frames (else on the monotonic clock)
        std::uint32_t epoch = 0;
        std::int64_t baseFrame = 0;
        std::uint64_t baseTick = 0;
        std::uint32_t periodMs = 0;
        // The ticket of tick 0 when it was a request from outside (On/Off's accent): the run counts
        // from wherever it lands, also when it is placed again (written over, or caught up).
        std::uint32_t ticket = 0;
    };

    // The stream clock's reading, never waiting for the callback.
    StreamClock::Reading CurrentReading() noexcept;
    std::int64_t Reachable(const StreamClock::Reading& r, std::int64_t nowNs) const noexcept;
    Run& RunFor(const TickContext& tick, const StreamClock::Reading& r) noexcept;
    void Anchor(Run& run, std::uint64_t tick, const StreamClock::Reading& r,
                std::int64_t nowNs) noexcept;
    // Counts from where tick 0 landed, as the callback says.
    void Settle(Run& run) const noexcept;
    std::int64_t FrameOf(const Run& run, std::uint64_t tick) const noexcept;

    const Placement placement_;
    const std::uint32_t sampleRate_;
    const std::int64_t safetyFrames_;
    const std::int64_t leadFrames_;
    const MonotonicClock& monotonic_;
    const StreamClock& stream_;
    const LandedRecord& landed_;
    std::atomic<bool> rewriting_{false};
    std::atomic<std::int64_t> reanchors_{0};

    // The runs seen lately (one at a time in the program; a few for safety), and the last good
    // reading of the stream's clock.
    std::array<Run, 4> runs_{};
    std::size_t nextRun_ = 0;
    StreamClock::Reading reading_;
};

}  // namespace platform::player
