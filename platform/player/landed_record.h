// Where the latest request from outside a timer callback (On/Off's accent) was expected to land
// and where it did: the thread that plays it notes the estimate, the audio callback the frame it
// placed it on, and the timer thread reads both to count a run from that click.
#pragma once

#include <atomic>
#include <cstdint>

namespace platform::player {

class LandedRecord {
  public:
    struct Asked {
        std::int64_t ns = INT64_MIN;  // monotonic time of the request; INT64_MIN: none yet
        std::int64_t frame = 0;       // where it lands at the latest, until the callback says
        std::uint32_t epoch = 0;      // the stream's epoch the estimate belongs to
        std::uint32_t ticket = 0;
    };

    // The thread that plays, outside a timer callback: a request's number, 31 bits, never 0.
    std::uint32_t NewTicket() noexcept;
    void NoteAsked(const Asked& asked) noexcept;
    // The timer thread.
    Asked LastAsked() const noexcept;

    // The audio callback: `ticket` was placed on `frame` (a sequence lock over atomics).
    void NoteLanded(std::uint32_t ticket, std::int64_t frame) noexcept;
    // The timer thread, without waiting: the frame where `ticket` landed. False when another
    // request landed since, or when the callback was caught writing every one of a few tries
    // (it may be preempted there): the caller keeps its estimate.
    bool TryLanded(std::uint32_t ticket, std::int64_t& frame) const noexcept;

  private:
    static constexpr int kTries = 8;

    std::atomic<std::uint32_t> tickets_{0};
    std::atomic<std::int64_t> askedNs_{INT64_MIN};
    std::atomic<std::int64_t> askedFrame_{0};
    std::atomic<std::uint32_t> askedEpoch_{0};
    std::atomic<std::uint32_t> askedTicket_{0};

    std::atomic<std::uint32_t> version_{0};
    std::atomic<std::uint32_t> landedTicket_{0};
    std::atomic<std::int64_t> landedFrame_{0};
};

}  // namespace platform::player
