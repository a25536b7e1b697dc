// Placement of requests on output frames and the rendering of the schedule they make.
#include "platform/player/player_engine.h"

#include <algorithm>
#include <cmath>

#include "platform/player/tick_context.h"
#include "platform/sound_images.h"
#include "platform/wave_image.h"

namespace platform::player {
namespace {

// On/Off plays its accent just before it starts the timer: a request this close before a run's
// start is that run's tick 0.
constexpr std::int64_t kSameMomentNs = 2'000'000;

}  // namespace

PlayerEngine::PlayerEngine(const PlayerOptions& options, const MonotonicClock& clock)
    : options_(options),
      clock_(clock),
      latencyNs_(static_cast<std::int64_t>(options.latencyMs * 1e6)),
      bandFrames_(options.bandMs * 1e-3 * options.sampleRate),
      filter_(options.sampleRate) {}

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
    request.frame = CurrentTick().run ? PlaceFromTimer() : PlaceNow();
    ring_.Push(request);
    return accepted;
}

double PlayerEngine::IntervalFrames(std::int64_t periodMs, const ClockFilter::Line& line) const {
    return static_cast<double>(periodMs) * 1e-3 * options_.sampleRate *
           line.RateRatio(options_.sampleRate);
}

std::int64_t PlayerEngine::PlaceNow() {
    if (options_.placement == Placement::kAtWakeUp)
        return PlayRequest::kAsap;
    const ClockFilter::Line line = filter_.Current();
    if (!line.valid)
        return PlayRequest::kAsap;
    const std::int64_t now = clock_.NowNs();
    const auto frame = std::llround(line.FrameAt(now + latencyNs_));
    lastFreeFrame_.store(frame, std::memory_order_relaxed);
    lastFreeNs_.store(now, std::memory_order_release);
    return frame;
}

PlayerEngine::Run& PlayerEngine::RunFor(std::uint64_t id, const ClockFilter::Line& line) {
    for (Run& run : runs_)
        if (run.id == id)
            return run;
    const TickContext& tick = CurrentTick();
    Run& run = runs_[nextRun_];
    nextRun_ = (nextRun_ + 1) % runs_.size();
    run = Run{};
    run.id = id;
    run.mature = line.mature;
    run.interval = IntervalFrames(tick.periodMs, line);
    const std::int64_t freeNs = lastFreeNs_.load(std::memory_order_acquire);
    // No subtraction from the "never" marker: it would overflow.
    const bool freeSeen = freeNs != INT64_MIN;
    const std::int64_t sinceFree = freeSeen ? tick.startNs - freeNs : -1;
    if (freeSeen && sinceFree >= 0 && sinceFree <= kSameMomentNs)
        run.baseFrame = lastFreeFrame_.load(std::memory_order_relaxed);
    else
        run.baseFrame = std::llround(line.FrameAt(tick.startNs + latencyNs_));
    return run;
}

std::int64_t PlayerEngine::PlaceFromTimer() {
    if (options_.placement == Placement::kAtWakeUp)
        return PlayRequest::kAsap;
    const ClockFilter::Line line = filter_.Current();
    if (!line.valid)
        return PlayRequest::kAsap;
    const TickContext& tick = CurrentTick();
    Run& run = RunFor(tick.run, line);
    const auto at = [&run](std::uint64_t k) {
        const auto ticks = static_cast<std::int64_t>(k) - static_cast<std::int64_t>(run.baseTick);
        return run.baseFrame + std::llround(static_cast<double>(ticks) * run.interval) +
               run.correction;
    };
    const double measured = IntervalFrames(tick.periodMs, line);
    const auto rerate = [&] {
        run.baseFrame = at(tick.tick);
        run.baseTick = tick.tick;
        run.correction = 0;
        run.interval = measured;
        run.mature = line.mature;
        run.outOfBand = 0;
    };
    // Count on at the measured rate once the filter knows it. After that the run keeps its two
    // interval lengths; single frames hold the phase while the stream's rate wanders within them.
    if (!run.mature && line.mature)
        rerate();
    std::int64_t frame = at(tick.tick);

    // The margin, measured at the tick's due time so that wake-up delays do not count.
    const std::int64_t dueNs = tick.startNs + static_cast<std::int64_t>(tick.tick) * tick.periodMs *
                                                  std::int64_t{1'000'000};
    double drift = static_cast<double>(frame) - line.FrameAt(dueNs + latencyNs_);
    const bool far = std::abs(drift) > kFarBands * bandFrames_;
    if (far && run.outOfBand >= kFarTicks) {
        // The stream lost audio, or the clock jumped: more than single frames can mend. Take the
        // measured rate and put this tick back on time in one interval.
        rerate();
        const std::int64_t change = -std::llround(drift);
        run.correction += change;
        frame += change;
        drift += static_cast<double>(change);
        stats_.corrections.fetch_add(std::abs(change), std::memory_order_relaxed);
        stats_.jumps.fetch_add(1, std::memory_order_relaxed);
    } else if (run.outOfBand >= kOutOfBandTicks &&
               (drift > 0 ? measured < run.interval : measured > run.interval)) {
        // The two lengths cannot hold the phase any more: the stream's rate has left them.
        // Count on at the measured rate from here (this tick stays where it is).
        rerate();
    }
    if (std::abs(drift) > bandFrames_) {
        ++run.outOfBand;
        // One frame, and only where the interval stays one of the run's two lengths.
        const std::int64_t change = drift > 0 ? -1 : 1;
        const std::int64_t natural = tick.tick > run.baseTick ? frame - at(tick.tick - 1) : 0;
        const auto shortest = static_cast<std::int64_t>(std::floor(run.interval));
        if (natural == 0 || (natural + change >= shortest && natural + change <= shortest + 1)) {
            run.correction += change;
            frame += change;
            stats_.corrections.fetch_add(1, std::memory_order_relaxed);
        }
    } else {
        run.outOfBand = 0;
    }
    const double marginMs =
        (static_cast<double>(frame) - line.FrameAt(dueNs)) * 1e3 / options_.sampleRate;
    stats_.marginMs.store(marginMs, std::memory_order_relaxed);
    if (marginMs < stats_.minMarginMs.load(std::memory_order_relaxed))
        stats_.minMarginMs.store(marginMs, std::memory_order_relaxed);
    if (marginMs > stats_.maxMarginMs.load(std::memory_order_relaxed))
        stats_.maxMarginMs.store(marginMs, std::memory_order_relaxed);
    return frame;
}

void PlayerEngine::Schedule(const PlayRequest& request) {
    if (request.frame != PlayRequest::kAsap && request.frame < pos_)
        lateRequests_.store(lateRequests_.load(std::memory_order_relaxed) + 1,
                            std::memory_order_relaxed);
    const std::int64_t frame =
        request.frame == PlayRequest::kAsap ? pos_ : std::max(request.frame, pos_);
    // The newest request wins: whatever was placed at or after its frame is dropped.
    while (eventCount_ > 0 && events_[eventCount_ - 1].frame >= frame)
        --eventCount_;
    if (eventCount_ == kMaxEvents) {
        std::move(events_.begin() + 1, events_.end(), events_.begin());
        --eventCount_;
    }
    events_[eventCount_++] = Event{frame, request};
}

void PlayerEngine::Render(float* out, std::uint32_t frames, std::int64_t nowNs,
                          bool waited) noexcept {
    const unsigned channels = options_.channels;
    std::fill(out, out + std::size_t{frames} * channels, 0.0f);
    if (waited)
        clockStarted_ = true;
    if (clockStarted_)
        filter_.Add(nowNs, pos_ + frames);
    ring_.Drain([this](const PlayRequest& r) { Schedule(r); });

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
        if (taken < eventCount_ && events_[taken].frame <= at) {
            const PlayRequest& r = events_[taken++].request;
            if (r.data) {
                WaveImage image;
                image.channels = r.channels;
                image.sampleRate = r.sampleRate;
                image.bitsPerSample = r.bitsPerSample;
                image.data = r.data;
                image.dataBytes = r.dataBytes;
                voice_ = Voice(image, r.loop, options_.sampleRate);
            } else {
                voice_.Stop();
            }
        }
    }
    if (taken > 0) {
        std::move(events_.begin() + taken, events_.begin() + eventCount_, events_.begin());
        eventCount_ -= taken;
    }
    pos_ = end;
    rendered_.store(pos_, std::memory_order_relaxed);
}

}  // namespace platform::player
