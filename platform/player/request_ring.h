// The hand-over of play requests from any thread to the audio callback: a ring of slots that
// producers overwrite and the callback drains in arrival order, without locks or allocation. When
// the callback falls more than a ring behind, the oldest requests are lost, never the newest.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace platform::player {

struct PlayRequest {
    static constexpr std::int64_t kAsap = INT64_MIN;  // at the start of the next buffer

    const std::uint8_t* data = nullptr;  // PCM of a parsed image; nullptr stops the sound
    std::uint32_t dataBytes = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t channels = 0;
    std::uint16_t bitsPerSample = 0;
    bool loop = false;
    std::int64_t frame = kAsap;  // output frame at which it takes over
    // A request from outside a timer callback: its number (31 bits, never 0), so that the
    // callback can tell where it landed.
    std::uint32_t ticket = 0;
};

class RequestRing {
  public:
    static constexpr std::size_t kSlots = 64;

    // Any thread, the timer thread inside a tick included, under the real-time contract: no lock,
    // no allocation, no I/O, and a wait only where a producer finds its slot still being written
    // by another one a whole ring older (more than kSlots requests came in meanwhile). With the
    // program's two producers that needs one of them stopped mid-write for 64 of the other's
    // requests; the timer's side then yields until the older write ends.
    void Push(const PlayRequest& request) noexcept;

    // Consumer thread only: hands each new request, oldest first, to visit(const PlayRequest&).
    template <class Visit>
    void Drain(Visit&& visit) {
        const std::uint64_t head = head_.load(std::memory_order_acquire);
        if (head - next_ > kSlots)
            next_ = head - kSlots;
        while (next_ < head) {
            PlayRequest r;
            const Read result = TryRead(next_, r);
            if (result == Read::kPending)
                return;  // a producer is still writing it
            if (result == Read::kDone)
                visit(r);
            ++next_;
        }
    }

  private:
    enum class Read { kDone, kPending, kOverwritten };
    Read TryRead(std::uint64_t seq, PlayRequest& out) const noexcept;

    struct Slot {
        std::atomic<std::uint64_t> stamp{0};  // 2 * seq + 1 while written, 2 * seq + 2 when done
        std::atomic<std::uint64_t> word[4]{};
    };
    std::array<Slot, kSlots> slots_;
    std::atomic<std::uint64_t> head_{0};
    std::uint64_t next_ = 0;  // consumer's position
};

}  // namespace platform::player
