// Placement of requests on the stream's frames, the pacing of the timer by them, and the
// rendering of the schedule they make.
#include "platform/player/player_engine.h"

#include <algorithm>
#include <cmath>

#include "platform/sound_images.h"
#include "platform/wave_image.h"

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
// Reads of the landed record before the timer's side goes on without it.
constexpr int kSettleTries = 8;

std::int64_t Frames(double ms, std::uint32_t rate) {
    return std::llround(ms * 1e-3 * rate);
}

}  // namespace

PlayerEngine::PlayerEngine(const PlayerOptions& options, const MonotonicClock& clock)
    : options_(options),
      monotonic_(clock),
      safetyFrames_(Frames(options.safetyMs, options.sampleRate)),
      leadFrames_(Frames(options.tickLeadMs, options.sampleRate)),
      clock_(options.sampleRate) {}

BOOL PlayerEngine::Play(const char* image, DWORD flags) {
    PlayRequest request;
    BOOL accepted = TRUE;
    if (image) {
        std::optional<WaveImage> wave;
        if (flags & SND_MEMORY) {
            const std::size_t bytes = SoundImageSize(image);
            if (bytes)
                wave = ParseWaveImage(image, bytes);
        }
        if (wave && wave->Frames() > 0 && wave->dataBytes <= UINT32_MAX) {
            request.data = wave->data;
            request.dataBytes = static_cast<std::uint32_t>(wave->dataBytes);
            request.sampleRate = wave->sampleRate;
            request.channels = wave->channels;
            request.bitsPerSample = wave->bitsPerSample;
            request.loop = (flags & SND_LOOP) != 0;
        } else {
            accepted = FALSE;
        }
    }
    if (CurrentTick().run)
        request.frame = PlaceFromTimer();
    else
        PlaceNow(request);
    ring_.Push(request);
    // Only what would otherwise wait for the next callback, or land late, is worth a wake-up.
    OutputWaker* waker = waker_.load(std::memory_order_acquire);
    if (waker && (request.frame == PlayRequest::kAsap || request.frame < FramesRendered()))
        waker->Wake();
    return accepted;
}

std::int64_t PlayerEngine::FrameOf(const Run& run, std::uint64_t tick) const {
    // Whole numbers throughout: the count stays exact however long the run.
    const auto ticks = static_cast<std::int64_t>(tick - run.baseTick);
    return run.baseFrame + (ticks * run.periodMs * options_.sampleRate + 500) / 1000;
}

std::int64_t PlayerEngine::Reachable(const StreamClock::Reading& r, std::int64_t nowNs) const {
    const std::int64_t beyond = r.rewritableFrom >= 0 && waker_.load(std::memory_order_relaxed)
                                    ? r.rewritableFrom
                                    : r.aheadFrames;
    return static_cast<std::int64_t>(std::ceil(r.FrameAt(nowNs))) + beyond + safetyFrames_;
}

void PlayerEngine::PlaceNow(PlayRequest& request) {
    request.frame = PlayRequest::kAsap;
    if (options_.placement == Placement::kAtWakeUp)
        return;
    const StreamClock::Reading r = clock_.Current();
    if (!r.valid)
        return;
    std::uint32_t ticket = 0;
    while (ticket == 0)
        ticket = (tickets_.fetch_add(1, std::memory_order_relaxed) + 1) & 0x7FFFFFFFu;
    request.ticket = ticket;
    const std::int64_t now = monotonic_.NowNs();
    // Where it will land at the latest, until the callback says where it did.
    lastFreeFrame_.store(Reachable(r, now), std::memory_order_relaxed);
    lastFreeEpoch_.store(r.epoch, std::memory_order_relaxed);
    lastFreeTicket_.store(ticket, std::memory_order_relaxed);
    lastFreeNs_.store(now, std::memory_order_release);
}

void PlayerEngine::Settle(Run& run) {
    if (run.ticket == 0)
        return;
    // A few tries at most: while the callback is caught writing, the estimate stands.
    for (int i = 0; i < kSettleTries; ++i) {
        const std::uint32_t v1 = landedVersion_.load(std::memory_order_acquire);
        const std::uint32_t ticket = landedTicket_.load(std::memory_order_acquire);
        const std::int64_t frame = landedFrame_.load(std::memory_order_acquire);
        const std::uint32_t v2 = landedVersion_.load(std::memory_order_relaxed);
        if (v1 != v2 || (v1 & 1) != 0)
            continue;
        if (ticket == run.ticket)
            run.baseFrame = frame;
        return;
    }
}

StreamClock::Reading PlayerEngine::TimerReading() noexcept {
    // While the callback is caught writing, the last good reading stands: it is at most a
    // callback old, and the timer looks again within its recheck interval.
    clock_.TryCurrent(timerReading_);
    return timerReading_;
}

void PlayerEngine::Anchor(Run& run, std::uint64_t tick, const StreamClock::Reading& r,
                          std::int64_t nowNs) {
    if (run.anchored)
        reanchors_.fetch_add(1, std::memory_order_relaxed);
    run.anchored = true;
    run.epoch = r.epoch;
    run.baseTick = tick;
    // The tick fires at once: it gets a tick's lead, as a late wake-up of the output may need.
    run.baseFrame = Reachable(r, nowNs) + leadFrames_;
    run.ticket = 0;
}

PlayerEngine::Run& PlayerEngine::RunFor(const TickContext& tick, const StreamClock::Reading& r) {
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
    const std::int64_t freeNs = lastFreeNs_.load(std::memory_order_acquire);
    // No subtraction from the "never" marker: it would overflow.
    const bool freeSeen = freeNs != INT64_MIN;
    const std::int64_t sinceFree = freeSeen ? tick.startNs - freeNs : -1;
    if (freeSeen && sinceFree >= 0 && sinceFree <= kSameMomentNs &&
        lastFreeEpoch_.load(std::memory_order_relaxed) == r.epoch) {
        run.baseFrame = lastFreeFrame_.load(std::memory_order_relaxed);
        run.ticket = lastFreeTicket_.load(std::memory_order_relaxed);
    } else {
        run.baseFrame = Reachable(r, tick.startNs);
    }
    return run;
}

std::int64_t PlayerEngine::DueNs(const TickContext& tick, std::int64_t nowNs) noexcept {
    if (options_.placement == Placement::kAtWakeUp)
        return MonotonicDueNs(tick);
    const StreamClock::Reading r = TimerReading();
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

std::int64_t PlayerEngine::PlaceFromTimer() {
    if (options_.placement == Placement::kAtWakeUp)
        return PlayRequest::kAsap;
    const StreamClock::Reading r = TimerReading();
    if (!r.valid)
        return PlayRequest::kAsap;
    const TickContext& tick = CurrentTick();
    Run& run = RunFor(tick, r);
    if (!run.anchored || run.epoch != r.epoch)
        Anchor(run, tick.tick, r, monotonic_.NowNs());
    Settle(run);
    return FrameOf(run, tick.tick);
}

void PlayerEngine::Schedule(const PlayRequest& request, std::int64_t floor) {
    if (request.frame != PlayRequest::kAsap && request.frame < floor)
        lateRequests_.store(lateRequests_.load(std::memory_order_relaxed) + 1,
                            std::memory_order_relaxed);
    const std::int64_t frame =
        request.frame == PlayRequest::kAsap ? floor : std::max(request.frame, floor);
    // The newest request wins: whatever was placed at or after its frame is dropped.
    while (eventCount_ > 0 && events_[eventCount_ - 1].frame >= frame)
        --eventCount_;
    if (eventCount_ == kMaxEvents) {
        std::move(events_.begin() + 1, events_.end(), events_.begin());
        --eventCount_;
    }
    events_[eventCount_++] = Event{frame, request};
    if (request.ticket != 0) {
        const std::uint32_t v = landedVersion_.load(std::memory_order_relaxed);
        landedVersion_.store(v + 1, std::memory_order_relaxed);
        landedFrame_.store(frame, std::memory_order_release);
        landedTicket_.store(request.ticket, std::memory_order_release);
        landedVersion_.store(v + 2, std::memory_order_release);
    }
}

void PlayerEngine::StreamLost() noexcept {
    clock_.Lost();
    lost_ = true;
}

void PlayerEngine::ForgetLostStream() noexcept {
    if (!lost_)
        return;
    lost_ = false;
    // Ticks placed while no stream reported are due at once, and a click cut off by the loss
    // would go on from its middle: on the new stream either would sound before the first tick
    // on its grid.
    ring_.Drain([](const PlayRequest&) {});
    eventCount_ = 0;
    takenCount_ = 0;
    missed_ = false;
    voice_.Stop();
}

std::int64_t PlayerEngine::CatchUp(std::int64_t to) noexcept {
    ForgetLostStream();
    if (to <= pos_)
        return 0;
    // What was placed among the lost frames still takes its turn, unheard, so that the voice is
    // where it would be. But when the newest sound came from outside a timer callback (On/Off's
    // accent) and was lost, or cut, it sounds again at once, and a run counting from it counts
    // from there.
    const bool sounding = voice_.Active();
    std::size_t taken = 0;
    std::int64_t at = pos_;
    while (taken < eventCount_ && events_[taken].frame < to) {
        voice_.Skip(static_cast<std::uint64_t>(events_[taken].frame - at));
        at = events_[taken].frame;
        Start(events_[taken++].request);
    }
    voice_.Skip(static_cast<std::uint64_t>(to - at));
    std::move(events_.begin() + taken, events_.begin() + eventCount_, events_.begin());
    eventCount_ -= taken;
    if (started_.ticket != 0 && (taken > 0 || (sounding && voice_.Active())))
        Schedule(started_, to);
    const std::int64_t skipped = to - pos_;
    pos_ = to;
    rendered_.store(pos_, std::memory_order_relaxed);
    return skipped;
}

void PlayerEngine::Start(const PlayRequest& r) noexcept {
    started_ = r;
    if (!r.data) {
        voice_.Stop();
        return;
    }
    WaveImage image;
    image.channels = r.channels;
    image.sampleRate = r.sampleRate;
    image.bitsPerSample = r.bitsPerSample;
    image.data = r.data;
    image.dataBytes = r.dataBytes;
    voice_ = Voice(image, r.loop, options_.sampleRate);
}

std::uint32_t PlayerEngine::PrepareRewrite(std::int64_t earliest) noexcept {
    ForgetLostStream();
    earliest = std::min(earliest, pos_);
    std::int64_t from = pos_;
    const auto place = [this, earliest, &from](const PlayRequest& r) {
        Schedule(r, earliest);
        from = std::min(from, events_[eventCount_ - 1].frame);
    };
    // Those within what is written over go where they would have gone, had the wake-up come
    // before the callbacks; newer requests follow from the ring.
    for (std::size_t i = 0; missed_ && i < takenCount_; ++i) {
        if (taken_[i].frame >= earliest)
            place(taken_[i].request);
    }
    missed_ = false;
    takenCount_ = 0;
    ring_.Drain(place);
    // The voice needs no going back: whatever it played from `from` on is replaced there.
    const auto frames = static_cast<std::uint32_t>(pos_ - from);
    pos_ = from;
    return frames;
}

void PlayerEngine::Render(float* out, std::uint32_t frames, const StreamReport& report) noexcept {
    ForgetLostStream();
    const unsigned channels = options_.channels;
    std::fill(out, out + std::size_t{frames} * channels, 0.0f);
    const bool waking = waker_.load(std::memory_order_relaxed) != nullptr;
    ring_.Drain([this, waking](const PlayRequest& r) {
        Schedule(r, pos_);
        if (!waking)
            return;
        if (takenCount_ == kTakenHistory) {
            std::move(taken_.begin() + 1, taken_.end(), taken_.begin());
            --takenCount_;
        }
        taken_[takenCount_++] = Taken{r, events_[eventCount_ - 1].frame};
        missed_ = missed_ || r.frame == PlayRequest::kAsap || r.frame < pos_;
    });

    const std::uint32_t volume = volume_.load(std::memory_order_relaxed);
    const float left = static_cast<float>(volume & 0xFFFF) / 65535.0f;
    const float right = static_cast<float>(volume >> 16) / 65535.0f;
    const std::int64_t end = pos_ + frames;
    std::int64_t at = pos_;
    std::size_t taken = 0;
    while (at < end) {
        std::int64_t until = end;
        if (taken < eventCount_)
            until = std::min(end, events_[taken].frame);
        if (until > at && voice_.Active())
            voice_.Mix(out + (at - pos_) * channels, static_cast<std::uint32_t>(until - at),
                       channels, left, right);
        at = until;
        if (taken < eventCount_ && events_[taken].frame <= at)
            Start(events_[taken++].request);
    }
    if (taken > 0) {
        std::move(events_.begin() + taken, events_.begin() + eventCount_, events_.begin());
        eventCount_ -= taken;
    }
    pos_ = end;
    rendered_.store(pos_, std::memory_order_relaxed);

    // A request must land beyond everything written, which lies furthest ahead of the heard
    // frame right after a callback: keep the furthest of the last callbacks.
    ahead_[aheadNext_] = pos_ - report.heardFrame;
    aheadNext_ = (aheadNext_ + 1) % kAheadHistory;
    clock_.Report(report,
                  std::max<std::int64_t>(0, *std::max_element(ahead_.begin(), ahead_.end())));
}

}  // namespace platform::player
