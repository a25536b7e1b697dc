// The virtual stream: when each buffer is requested, and the onset scan of what was rendered.
#include "platform/player/offline_renderer.h"

#include <cmath>
#include <numbers>

namespace platform::player {

OfflineRenderer::OfflineRenderer(const PlayerOptions& options, const StreamModel& stream,
                                 bool keepAudio)
    : stream_(stream),
      keepAudio_(keepAudio),
      timers_([this] { return nowNs_; }),
      player_(std::make_unique<PlayerEngine>(options, *this)),
      scratch_(std::size_t{stream.bufferFrames} * options.channels) {}

Services OfflineRenderer::AsServices() {
    Services s;
    s.timers = &timers_;
    s.player = player_.get();
    return s;
}

std::int64_t OfflineRenderer::CallbackNs(std::uint64_t buffer) const {
    // A burst is requested once the server has room for all of it.
    const std::uint64_t burst = buffer / stream_.buffersPerBurst;
    const double endFrame =
        static_cast<double>((burst + 1) * stream_.buffersPerBurst * stream_.bufferFrames);
    const double rate = player_->Options().sampleRate * (1.0 + stream_.ppm * 1e-6);
    double t = (endFrame - stream_.fillFrames) / rate * 1e9;
    if (stream_.wanderPpm != 0) {
        // The time at which a stream whose rate swings sinusoidally has played this far (to
        // first order in the swing).
        const double w = 2 * std::numbers::pi / stream_.wanderPeriodS;
        t -= stream_.wanderPpm * 1e-6 / w * (1 - std::cos(w * t * 1e-9)) * 1e9;
    }
    if (stream_.maxLateNs > 0) {
        // A fixed pseudo-random lateness per burst keeps runs repeatable.
        const std::uint64_t h = (burst + 1) * 0x9E3779B97F4A7C15ull;
        t += static_cast<double>((h >> 11) % static_cast<std::uint64_t>(stream_.maxLateNs));
    }
    if (t >= static_cast<double>(stream_.stallAtNs))
        t += static_cast<double>(stream_.stallNs);
    return std::max<std::int64_t>(0, std::llround(t));
}

void OfflineRenderer::Callback() {
    const bool waited = CallbackNs(buffer_) > 0 && buffer_ % stream_.buffersPerBurst == 0;
    player_->Render(scratch_.data(), stream_.bufferFrames, nowNs_, waited);
    ++buffer_;
    const unsigned channels = player_->Options().channels;
    for (std::uint32_t i = 0; i < stream_.bufferFrames; ++i, ++frame_) {
        const float v = scratch_[std::size_t{i} * channels];
        if (keepAudio_)
            audio_.push_back(v);
        if (v != 0.0f) {
            if (silentRun_ >= player_->Options().sampleRate / 1000)
                onsets_.push_back(Onset{frame_, std::abs(v)});
            silentRun_ = 0;
        } else {
            ++silentRun_;
        }
    }
}

void OfflineRenderer::Advance(std::int64_t ns) {
    const std::int64_t end = nowNs_ + ns;
    for (;;) {
        const std::int64_t callback = CallbackNs(buffer_);
        const std::int64_t tick = timers_.NextDueNs();
        const std::int64_t next = std::min(callback, tick);
        if (next > end)
            break;
        nowNs_ = std::max(nowNs_, next);
        // A callback and a tick at the same instant: the callback goes first, as the later
        // request could not have reached it anyway.
        if (callback <= tick)
            Callback();
        else
            timers_.FireNext();
    }
    nowNs_ = end;
}

}  // namespace platform::player
