// The schedule of requests on the output's frames, and its rendering.
#include "platform/player/output_renderer.h"

#include <algorithm>

#include "platform/wave_image.h"

namespace platform::player {

OutputRenderer::OutputRenderer(const PlayerOptions& options, RequestRing& ring, StreamClock& stream,
                               LandedRecord& landed)
    : sampleRate_(options.sampleRate),
      channels_(options.channels),
      ring_(ring),
      stream_(stream),
      landed_(landed) {}

void OutputRenderer::Schedule(const PlayRequest& request, std::int64_t floor) noexcept {
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
    if (request.ticket != 0)
        landed_.NoteLanded(request.ticket, frame);
}

void OutputRenderer::StreamLost() noexcept {
    stream_.Lost();
    lost_ = true;
}

void OutputRenderer::ForgetLostStream() noexcept {
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

std::int64_t OutputRenderer::CatchUp(std::int64_t to) noexcept {
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

void OutputRenderer::Start(const PlayRequest& r) noexcept {
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
    voice_ = Voice(image, r.loop, sampleRate_);
}

std::uint32_t OutputRenderer::PrepareRewrite(std::int64_t earliest) noexcept {
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

void OutputRenderer::Render(float* out, std::uint32_t frames, const StreamReport& report) noexcept {
    ForgetLostStream();
    const unsigned channels = channels_;
    std::fill(out, out + std::size_t{frames} * channels, 0.0f);
    const bool waking = rewriting_.load(std::memory_order_relaxed);
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
    stream_.Report(report,
                   std::max<std::int64_t>(0, *std::max_element(ahead_.begin(), ahead_.end())));
}

}  // namespace platform::player
