// The one clock of what is heard: the sound server's own report of which frame of the player's
// count the listener hears at a moment of the monotonic clock, published by the audio callback
// for the timer thread and the GUI thread. Between reports a frame's time follows at the nominal
// rate; reports come at every callback, so the monotonic clock's drift never adds up.
#pragma once

#include <atomic>
#include <cmath>
#include <cstdint>

namespace platform::player {

// What the server says of the stream at one callback.
struct StreamReport {
    std::int64_t nowNs = 0;       // monotonic time of the report
    std::int64_t heardFrame = 0;  // the frame of the player's count heard at nowNs
    bool advancing = true;        // false while the stream stands (suspended, corked, prebuffering)
    // How far past the heard frame the written frames can still be written over (what the server
    // has already taken, plus the time a write needs to reach it); -1 where they cannot be.
    std::int64_t rewritableFrom = -1;
};

class StreamClock {
  public:
    explicit StreamClock(std::uint32_t framesPerSecond) : framesPerNs_(framesPerSecond * 1e-9) {}

    // Audio callback only. aheadFrames: how far the written frames reach beyond the heard one.
    void Report(const StreamReport& report, std::int64_t aheadFrames) noexcept;
    // Audio side: the stream is gone; the next report starts a new epoch.
    void Lost() noexcept;

    struct Reading {
        bool valid = false;  // a stream has reported and is not lost
        bool advancing = false;
        std::uint32_t epoch = 0;  // changes with every new stream
        std::int64_t tNs = 0;
        std::int64_t frame = 0;
        std::int64_t aheadFrames = 0;
        std::int64_t rewritableFrom = -1;  // as in StreamReport
        double framesPerNs = 0;

        double FrameAt(std::int64_t timeNs) const {
            return advancing ? static_cast<double>(frame) +
                                   framesPerNs * static_cast<double>(timeNs - tNs)
                             : static_cast<double>(frame);
        }
        // When the listener hears `at` (for a stream that advances).
        std::int64_t TimeOf(double at) const {
            return tNs + static_cast<std::int64_t>((at - static_cast<double>(frame)) / framesPerNs);
        }
        // The first frame that a request made at timeNs can surely still reach, `margin` frames
        // beyond what is written (or beyond what the server took, where the output writes over
        // the rest).
        std::int64_t Reachable(std::int64_t timeNs, bool rewriting, std::int64_t margin) const {
            const std::int64_t beyond =
                rewritableFrom >= 0 && rewriting ? rewritableFrom : aheadFrames;
            return static_cast<std::int64_t>(std::ceil(FrameAt(timeNs))) + beyond + margin;
        }
    };
    // Any thread, without waiting: a sequence lock over atomics, read again a few times while the
    // callback writes. False, and `out` untouched, when the writer was caught mid-write every
    // time (it may have been preempted there, by this very reader on a shared CPU); the caller
    // then goes on with what it already knows.
    bool TryCurrent(Reading& out) const noexcept;
    // As TryCurrent(), with "no stream known" (not valid) as what is already known.
    Reading Current() const noexcept;

    // Tests only: called between the writer's two version stores, to hold it there.
    using PublishHook = void (*)(void* context);
    void SetPublishHookForTest(PublishHook hook, void* context) noexcept {
        hookContext_ = context;
        hook_ = hook;
    }

  private:
    void Publish(bool valid, bool advancing, std::int64_t tNs, std::int64_t frame,
                 std::int64_t ahead, std::int64_t rewritable) noexcept;

    static constexpr int kTries = 8;

    const double framesPerNs_;
    PublishHook hook_ = nullptr;
    void* hookContext_ = nullptr;
    bool lost_ = true;              // writer side only
    std::uint32_t epochCount_ = 0;  // writer side only

    std::atomic<std::uint32_t> version_{0};
    std::atomic<bool> valid_{false};
    std::atomic<bool> advancing_{false};
    std::atomic<std::uint32_t> epoch_{0};
    std::atomic<std::int64_t> tNs_{0};
    std::atomic<std::int64_t> frame_{0};
    std::atomic<std::int64_t> ahead_{0};
    std::atomic<std::int64_t> rewritable_{-1};
};

}  // namespace platform::player
