// The virtual stream: what is heard when, when each burst of buffers is requested, and the onset
// scan of what was rendered.
#include "platform/player/offline_renderer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace platform::player {

OfflineRenderer::OfflineRenderer(const PlayerOptions& options, const StreamModel& stream,
                                 bool keepAudio)
    : stream_(stream),
      keepAudio_(keepAudio),
      timers_([this] { return nowNs_; }),
      player_(std::make_unique<PlayerEngine>(options, *this)) {
    paces_.push_back(StreamPace{0, stream.bufferFrames, stream.buffersPerBurst, stream.fillFrames});
    paces_.insert(paces_.end(), stream.changes.begin(), stream.changes.end());
    std::uint32_t largest = 0;
    for (const StreamPace& p : paces_)
        largest = std::max(largest, p.bufferFrames);
    scratch_.resize(std::size_t{largest} * options.channels);
    timers_.SetPacer(player_.get());
    if (stream.rewritableFrames >= 0) {
        player_->SetWaker(this);
        recent_.assign(1 << 16, 0.0f);
    }
}

Services OfflineRenderer::AsServices() {
    Services s;
    s.timers = &timers_;
    s.player = player_.get();
    return s;
}

const StreamPace& OfflineRenderer::PaceAt(std::int64_t ns) const {
    const StreamPace* pace = &paces_.front();
    for (const StreamPace& p : paces_)
        if (p.fromNs <= ns)
            pace = &p;
    return *pace;
}

double OfflineRenderer::HeardAt(std::int64_t ns) const {
    // The stream's own time: the monotonic time without the stall.
    double s = static_cast<double>(ns);
    if (ns > stream_.stallAtNs)
        s = static_cast<double>(std::max(stream_.stallAtNs, ns - stream_.stallNs));
    const double rate = player_->Options().sampleRate * (1.0 + stream_.ppm * 1e-6);
    double frames = s * 1e-9 * rate;
    if (stream_.wanderPpm != 0) {
        const double w = 2 * std::numbers::pi / stream_.wanderPeriodS;
        frames += rate * stream_.wanderPpm * 1e-6 / w * (1 - std::cos(w * s * 1e-9));
    }
    return std::max(0.0, frames);
}

std::int64_t OfflineRenderer::TimeOfHeard(double frame) const {
    if (frame <= 0)
        return 0;
    // The first moment at which the listener has heard `frame` (HeardAt never falls): a few
    // Newton steps from the nominal rate, then bisection in the small bracket around them.
    const double perNs = player_->Options().sampleRate * 1e-9;
    double guess = frame / perNs;
    for (int i = 0; i < 4; ++i) {
        const double heard = HeardAt(static_cast<std::int64_t>(guess));
        if (heard == HeardAt(static_cast<std::int64_t>(guess) + 1))
            guess += 1e6;  // standing (a stall): step past it
        else
            guess += (frame - heard) / perNs;
    }
    std::int64_t lo = std::max<std::int64_t>(0, static_cast<std::int64_t>(guess) - 4096);
    std::int64_t hi = static_cast<std::int64_t>(guess) + 4096;
    if (HeardAt(lo) >= frame || HeardAt(hi) < frame) {
        lo = 0;
        hi = 1;
        while (HeardAt(hi) < frame)
            hi *= 2;
    }
    while (hi - lo > 1) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        (HeardAt(mid) < frame ? lo : hi) = mid;
    }
    return hi;
}

std::int64_t OfflineRenderer::NextBurstNs() const {
    if (burstLeft_ > 0)
        return nowNs_;
    // A burst is requested once the server has room for all of it.
    const StreamPace& pace = PaceAt(nowNs_);
    const auto burst = std::int64_t{pace.bufferFrames} * pace.buffersPerBurst;
    std::int64_t t = TimeOfHeard(static_cast<double>(written_ + burst - pace.fillFrames));
    if (stream_.maxLateNs > 0) {
        // A fixed pseudo-random lateness per burst keeps runs repeatable.
        const std::uint64_t h = (bursts_ + 1) * 0x9E3779B97F4A7C15ull;
        t += static_cast<std::int64_t>((h >> 11) % static_cast<std::uint64_t>(stream_.maxLateNs));
    }
    return std::max(t, nowNs_);
}

StreamReport OfflineRenderer::ReportNow() const {
    StreamReport report;
    report.nowNs = nowNs_;
    report.heardFrame = static_cast<std::int64_t>(std::floor(HeardAt(nowNs_)));
    report.advancing =
        !(nowNs_ >= stream_.stallAtNs && nowNs_ < stream_.stallAtNs + stream_.stallNs);
    report.rewritableFrom = stream_.rewritableFrames;
    return report;
}

void OfflineRenderer::Callback() {
    const StreamPace& pace = PaceAt(nowNs_);
    if (burstLeft_ == 0) {
        burstLeft_ = pace.buffersPerBurst;
        ++bursts_;
    }
    --burstLeft_;
    player_->Render(scratch_.data(), pace.bufferFrames, ReportNow());
    const unsigned channels = player_->Options().channels;
    for (std::uint32_t i = 0; i < pace.bufferFrames; ++i, ++written_)
        Take(written_, scratch_[std::size_t{i} * channels]);
}

void OfflineRenderer::Take(std::int64_t frame, float v) {
    if (keepAudio_) {
        if (frame < static_cast<std::int64_t>(audio_.size()))
            audio_[static_cast<std::size_t>(frame)] = v;
        else
            audio_.push_back(v);
    }
    if (!recent_.empty())
        recent_[static_cast<std::size_t>(frame) % recent_.size()] = v;
    if (v != 0.0f) {
        if (silentRun_ >= player_->Options().sampleRate / 1000)
            onsets_.push_back(Onset{frame, std::abs(v)});
        silentRun_ = 0;
    } else {
        ++silentRun_;
    }
}

void OfflineRenderer::WriteOver() {
    wakePending_ = false;
    const StreamReport report = ReportNow();
    const std::uint32_t frames = player_->PrepareRewrite(report.heardFrame + report.rewritableFrom);
    if (frames == 0)
        return;
    std::vector<float> out(std::size_t{frames} * player_->Options().channels);
    player_->Render(out.data(), frames, report);
    // Forget what is written over: its onsets, and the silence that led into it.
    const std::int64_t from = written_ - frames;
    while (!onsets_.empty() && onsets_.back().frame >= from)
        onsets_.pop_back();
    silentRun_ = 0;
    const std::int64_t needed = player_->Options().sampleRate / 1000;
    while (silentRun_ < needed && from - silentRun_ > 0 &&
           recent_[static_cast<std::size_t>(from - silentRun_ - 1) % recent_.size()] == 0.0f)
        ++silentRun_;
    if (from - silentRun_ == 0)
        silentRun_ = 1 << 30;
    for (std::uint32_t i = 0; i < frames; ++i)
        Take(from + i, out[std::size_t{i} * player_->Options().channels]);
}

void OfflineRenderer::ServeWake() {
    if (stream_.requestBeforeWake)
        Callback();  // an extra buffer, as if the server had asked for it a moment earlier
    WriteOver();
}

void OfflineRenderer::Advance(std::int64_t ns) {
    const std::int64_t end = nowNs_ + ns;
    for (;;) {
        if (wakePending_)
            ServeWake();
        const std::int64_t callback = NextBurstNs();
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
    if (wakePending_)
        ServeWake();
}

}  // namespace platform::player
