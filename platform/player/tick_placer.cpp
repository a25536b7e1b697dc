// Runs counted in whole frames from their anchors, and the pacing of the timer by the stream.
#include "platform/player/tick_placer.h"

#include "platform/player/request_ring.h"

namespace platform::player {
namespace {

// On/Off plays its accent just before it starts the timer: a request this close before a run's
// start is that run's tick 0. Close, but not too close: the output's thread, woken by the
// request, may run first on a busy machine.
constexpr std::int64_t kSameMomentNs = 30'000'000;
// A stream that has not reported for this long stands still (the server stopped reading it).
constexpr std::int64_t kStaleNs = 300'000'000;
// While the stream stands, a waiting tick looks again this often.
constexpr std::int64_t kHoldNs = 10'000'000;
// A tick this far behind its stream is not late but lost (the machine or the server stopped for
// a while): its run starts afresh at the tick.
constexpr std::int64_t kFarNs = 1'000'000'000;

}  // namespace

TickPlacer::TickPlacer(const PlayerOptions& options, const MonotonicClock& clock,
                       const StreamClock& stream, const LandedRecord& landed)
    : placement_(options.placement),
      sampleRate_(options.sampleRate),
      safetyFrames_(options.SafetyFrames()),
      leadFrames_(options.LeadFrames()),
      monotonic_(clock),
      stream_(stream),
      landed_(landed) {}

StreamClock::Reading TickPlacer::CurrentReading() noexcept {
    // While the callback is caught writing, the last good reading stands: it is at most a
    // callback old, and the timer looks again within its recheck interval.
    stream_.TryCurrent(reading_);
    return reading_;
}

std::int64_t TickPlacer::Reachable(const StreamClock::Reading& r,
                                   std::int64_t nowNs) const noexcept {
    return r.Reachable(nowNs, rewriting_.load(std::memory_order_relaxed), safetyFrames_);
}

std::int64_t TickPlacer::FrameOf(const Run& run, std::uint64_t tick) const noexcept {
    // Whole numbers throughout: the count stays exact however long the run.
    const auto ticks = static_cast<std::int64_t>(tick - run.baseTick);
    return run.baseFrame + (ticks * run.periodMs * sampleRate_ + 500) / 1000;
}

void TickPlacer::Settle(Run& run) const noexcept {
    // While the callback is caught writing, the estimate stands.
    if (run.ticket != 0)
        landed_.TryLanded(run.ticket, run.baseFrame);
}

void TickPlacer::Anchor(Run& run, std::uint64_t tick, const StreamClock::Reading& r,
                        std::int64_t nowNs) noexcept {
    if (run.anchored)
        reanchors_.fetch_add(1, std::memory_order_relaxed);
    run.anchored = true;
    run.epoch = r.epoch;
    run.baseTick = tick;
    // The tick fires at once: it gets a tick's lead, as a late wake-up of the output may need.
    run.baseFrame = Reachable(r, nowNs) + leadFrames_;
    run.ticket = 0;
}

TickPlacer::Run& TickPlacer::RunFor(const TickContext& tick,
                                    const StreamClock::Reading& r) noexcept {
    for (Run& run : runs_)
        if (run.id == tick.run)
            return run;
    Run& run = runs_[nextRun_];
    nextRun_ = (nextRun_ + 1) % runs_.size();
    run = Run{};
    run.id = tick.run;
    run.periodMs = tick.periodMs;
    if (!r.valid)
        return run;  // counted once a stream reports
    run.anchored = true;
    run.epoch = r.epoch;
    const LandedRecord::Asked asked = landed_.LastAsked();
    // No subtraction from the "never" marker: it would overflow.
    const bool seen = asked.ns != INT64_MIN;
    const std::int64_t since = seen ? tick.startNs - asked.ns : -1;
    if (seen && since >= 0 && since <= kSameMomentNs && asked.epoch == r.epoch) {
        run.baseFrame = asked.frame;
        run.ticket = asked.ticket;
    } else {
        run.baseFrame = Reachable(r, tick.startNs);
    }
    return run;
}

std::int64_t TickPlacer::DueNs(const TickContext& tick, std::int64_t nowNs) noexcept {
    if (placement_ == Placement::kAtWakeUp)
        return MonotonicDueNs(tick);
    const StreamClock::Reading r = CurrentReading();
    Run& run = RunFor(tick, r);
    if (!r.valid)
        return MonotonicDueNs(tick);  // no stream: nothing is heard, the monotonic clock rules
    if (!run.anchored || run.epoch != r.epoch) {
        Anchor(run, tick.tick, r, nowNs);
        return nowNs;
    }
    Settle(run);
    if (!r.advancing || nowNs - r.tNs > kStaleNs)
        return nowNs + kHoldNs;  // the stream stands: so does its count
    const std::int64_t request =
        FrameOf(run, tick.tick) - r.aheadFrames - safetyFrames_ - leadFrames_;
    const std::int64_t due = r.TimeOf(static_cast<double>(request));
    if (due < nowNs - kFarNs) {
        Anchor(run, tick.tick, r, nowNs);
        return nowNs;
    }
    return due;
}

std::int64_t TickPlacer::Place(const TickContext& tick) noexcept {
    if (placement_ == Placement::kAtWakeUp)
        return PlayRequest::kAsap;
    const StreamClock::Reading r = CurrentReading();
    if (!r.valid)
        return PlayRequest::kAsap;
    Run& run = RunFor(tick, r);
    if (!run.anchored || run.epoch != r.epoch)
        Anchor(run, tick.tick, r, monotonic_.NowNs());
    Settle(run);
    return FrameOf(run, tick.tick);
}

}  // namespace platform::player
