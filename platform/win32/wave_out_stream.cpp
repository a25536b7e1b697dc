// Feeding the waveOut blocks from the engine, and keeping a stream on the default output.
#include "platform/win32/wave_out_stream.h"

#include <algorithm>
#include <cmath>

namespace platform::win32 {

WaveOutStream::WaveOutStream(player::PlayerEngine& engine, WaveDevice& device,
                             const WaveStreamOptions& options)
    : engine_(engine),
      device_(device),
      options_(options),
      scratch_(std::size_t{options.blockFrames} * options.channels),
      samples_(options.blocks * options.blockFrames * options.channels) {}

void WaveOutStream::SetVolume(std::uint32_t volume) {
    volume_.store(volume, std::memory_order_relaxed);
    sets_.fetch_add(1, std::memory_order_release);
}

player::StreamReport WaveOutStream::Report() const noexcept {
    player::StreamReport report;
    // The position moves in steps on some systems (Wine: every 10 ms): it was true when first seen.
    report.nowNs = positionNs_;
    report.heardFrame = base_ + static_cast<std::int64_t>(position_);
    report.advancing = true;
    report.rewritableFrom = -1;  // a queued block cannot be written over
    return report;
}

bool WaveOutStream::Fill(std::size_t block, const player::StreamReport& report) noexcept {
    engine_.Render(scratch_.data(), options_.blockFrames, report);
    std::int16_t* out = samples_.data() + block * options_.blockFrames * options_.channels;
    for (std::size_t i = 0; i < scratch_.size(); ++i) {
        const float v = std::clamp(scratch_[i], -1.0f, 1.0f) * 32767.0f;
        out[i] = static_cast<std::int16_t>(std::lrint(v));
    }
    return device_.Queue(block, out, options_.blockFrames);
}

bool WaveOutStream::Open(std::int64_t nowNs) noexcept {
    output_ = device_.DefaultOutput();
    if (!device_.Open(options_.rate, options_.channels, options_.blocks))
        return false;
    // The slider starts from the device's volume; a volume already chosen carries over.
    std::uint32_t volume = 0;
    if (sets_.load(std::memory_order_acquire) == 0 && device_.GetVolume(volume)) {
        std::uint32_t old = volume_.load(std::memory_order_relaxed);
        volume_.compare_exchange_strong(old, volume);
    }
    volumeSets_ = sets_.load(std::memory_order_acquire);
    applied_ = volume_.load(std::memory_order_relaxed);
    device_.SetVolume(applied_);

    base_ = engine_.FramesRendered();
    position_ = 0;
    positionNs_ = nowNs;
    next_ = 0;
    checkNs_ = nowNs + kCheckNs;
    const player::StreamReport report = Report();
    for (std::size_t b = 0; b < options_.blocks; ++b)
        if (!Fill(b, report)) {
            device_.Close();
            return false;
        }
    if (everOpened_)
        reopens_.fetch_add(1, std::memory_order_relaxed);
    everOpened_ = true;
    backoffNs_ = 0;
    open_.store(true, std::memory_order_relaxed);
    return true;
}

void WaveOutStream::Lose(std::int64_t nowNs) noexcept {
    device_.Close();
    if (open_.exchange(false, std::memory_order_relaxed))
        engine_.StreamLost();
    backoffNs_ = backoffNs_ == 0 ? kFirstRetryNs : std::min(backoffNs_ * 2, kLastRetryNs);
    retryNs_ = nowNs + backoffNs_;
}

void WaveOutStream::Close() noexcept {
    if (!open_.load(std::memory_order_relaxed))
        return;
    device_.Close();
    open_.store(false, std::memory_order_relaxed);
    engine_.StreamLost();
}

std::int64_t WaveOutStream::Service(std::int64_t nowNs) noexcept {
    if (!open_.load(std::memory_order_relaxed)) {
        if (nowNs < retryNs_)
            return retryNs_;
        const bool opened = Open(nowNs);
        tries_.fetch_add(1, std::memory_order_release);
        if (!opened) {
            Lose(nowNs);
            return retryNs_;
        }
    }
    // A new default output (a headset plugged in, another one chosen): the click follows it.
    if (nowNs >= checkNs_) {
        checkNs_ = nowNs + kCheckNs;
        if (device_.DefaultOutput() != output_) {
            Lose(nowNs);
            retryNs_ = nowNs;
            return nowNs;
        }
    }
    std::uint64_t position = 0;
    if (!device_.Position(position)) {
        Lose(nowNs);
        return retryNs_;
    }
    if (position != position_) {
        position_ = position;
        positionNs_ = nowNs;
    } else if (nowNs - positionNs_ > kStallNs) {
        Lose(nowNs);  // an output that was unplugged may say nothing, only stop
        retryNs_ = nowNs;
        return nowNs;
    }
    player::StreamReport report = Report();
    report.advancing = nowNs - positionNs_ <= kStandsNs;
    while (device_.Played(next_)) {
        if (!Fill(next_, report)) {
            Lose(nowNs);
            return retryNs_;
        }
        next_ = (next_ + 1) % options_.blocks;
    }
    const std::uint32_t sets = sets_.load(std::memory_order_acquire);
    if (sets != volumeSets_) {
        volumeSets_ = sets;
        applied_ = volume_.load(std::memory_order_relaxed);
        device_.SetVolume(applied_);
    }
    return std::min(checkNs_, positionNs_ + kStallNs + 1);
}

}  // namespace platform::win32
