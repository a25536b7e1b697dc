// One cycle of the PipeWire graph as the output's process callback sees it: how many frames to
// render, and the frame of the player's count heard at the graph's time. Plain arithmetic, so that
// the frame accounting is tested without a server.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/player/stream_clock.h"

namespace platform::linux_backend {

// A buffer to fill: the graph asks for `requested` frames (0: as many as fit), the buffer holds
// `maxBytes`. Never more than fits, and only whole frames.
constexpr std::uint32_t FramesToFill(std::uint64_t requested, std::uint32_t maxBytes,
                                     std::uint32_t frameBytes) {
    const std::uint64_t fit = frameBytes == 0 ? 0 : maxBytes / frameBytes;
    return static_cast<std::uint32_t>(requested == 0 ? fit : std::min(requested, fit));
}

// The stream's time as the server last published it (pw_time): at `nowNs` on the monotonic clock,
// the next frame the stream gives is heard `delay` ticks of rateNum/rateDenom seconds later, after
// what is still queued in the stream and buffered in its resampler.
struct GraphTime {
    std::int64_t nowNs = 0;  // 0: the server has published no time yet
    std::uint32_t rateNum = 0;
    std::uint32_t rateDenom = 0;
    std::int64_t delay = 0;
    std::uint64_t queuedBytes = 0;
    std::uint64_t bufferedFrames = 0;
};

// The report for a callback about to render the frames from `rendered` on, at `outputRate`.
// Without a published time the stream stands at what is written, at `fallbackNowNs`.
inline player::StreamReport ReportOf(const GraphTime& time, std::int64_t rendered,
                                     std::uint32_t outputRate, std::uint32_t frameBytes,
                                     std::int64_t fallbackNowNs) {
    player::StreamReport report;
    if (time.nowNs <= 0 || time.rateDenom == 0 || frameBytes == 0) {
        report.nowNs = fallbackNowNs;
        report.heardFrame = rendered;
        report.advancing = false;
        return report;
    }
    // delay x num / denom seconds, in our frames (rounded to the nearest).
    const std::int64_t scale = std::int64_t{time.rateDenom};
    const std::int64_t delayFrames =
        (time.delay * std::int64_t{time.rateNum} * std::int64_t{outputRate} + scale / 2) / scale;
    const auto queued = static_cast<std::int64_t>(time.queuedBytes / frameBytes);
    report.nowNs = time.nowNs;
    report.heardFrame =
        rendered - delayFrames - queued - static_cast<std::int64_t>(time.bufferedFrames);
    report.advancing = true;
    return report;  // rewritableFrom stays -1: what the graph took is never written over
}

}  // namespace platform::linux_backend
