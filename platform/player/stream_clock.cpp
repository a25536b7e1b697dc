// Publishing the server's reports through a sequence lock of atomics.
#include "platform/player/stream_clock.h"

namespace platform::player {

void StreamClock::Report(const StreamReport& report, std::int64_t aheadFrames) noexcept {
    if (lost_) {
        lost_ = false;
        ++epochCount_;
    }
    Publish(true, report.advancing, report.nowNs, report.heardFrame, aheadFrames,
            report.rewritableFrom);
}

void StreamClock::Lost() noexcept {
    lost_ = true;
    const Reading last = Current();
    Publish(false, false, last.tNs, last.frame, last.aheadFrames, -1);
}

void StreamClock::Publish(bool valid, bool advancing, std::int64_t tNs, std::int64_t frame,
                          std::int64_t ahead, std::int64_t rewritable) noexcept {
    // Fields stored with release and loaded with acquire: a reader that saw any new field also
    // sees the odd version before it.
    const std::uint32_t v = version_.load(std::memory_order_relaxed);
    version_.store(v + 1, std::memory_order_relaxed);
    valid_.store(valid, std::memory_order_release);
    advancing_.store(advancing, std::memory_order_release);
    epoch_.store(epochCount_, std::memory_order_release);
    tNs_.store(tNs, std::memory_order_release);
    frame_.store(frame, std::memory_order_release);
    ahead_.store(ahead, std::memory_order_release);
    rewritable_.store(rewritable, std::memory_order_release);
    if (hook_)
        hook_(hookContext_);
    version_.store(v + 2, std::memory_order_release);
}

bool StreamClock::TryCurrent(Reading& out) const noexcept {
    for (int i = 0; i < kTries; ++i) {
        const std::uint32_t v1 = version_.load(std::memory_order_acquire);
        Reading r;
        r.valid = valid_.load(std::memory_order_acquire);
        r.advancing = advancing_.load(std::memory_order_acquire);
        r.epoch = epoch_.load(std::memory_order_acquire);
        r.tNs = tNs_.load(std::memory_order_acquire);
        r.frame = frame_.load(std::memory_order_acquire);
        r.aheadFrames = ahead_.load(std::memory_order_acquire);
        r.rewritableFrom = rewritable_.load(std::memory_order_acquire);
        r.framesPerNs = framesPerNs_;
        const std::uint32_t v2 = version_.load(std::memory_order_relaxed);
        if (v1 == v2 && (v1 & 1) == 0) {
            out = r;
            return true;
        }
    }
    return false;
}

StreamClock::Reading StreamClock::Current() const noexcept {
    Reading r;
    TryCurrent(r);
    return r;
}

}  // namespace platform::player
