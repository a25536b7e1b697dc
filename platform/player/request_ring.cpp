// Slots guarded by stamps: a producer claims its slot, writes it and stamps it done; the consumer
// reads a slot only when its stamp says that it holds the request it expects, and checks again
// after reading. Words are stored with release and loaded with acquire, so a reader that saw a
// newer producer's word also sees that producer's claim when it checks again (no fences).
#include "platform/player/request_ring.h"

#include <thread>

namespace platform::player {

void RequestRing::Push(const PlayRequest& r) noexcept {
    const std::uint64_t seq = head_.fetch_add(1, std::memory_order_acq_rel);
    Slot& slot = slots_[seq % kSlots];
    std::uint64_t stamp = slot.stamp.load(std::memory_order_acquire);
    for (;;) {
        if (stamp > 2 * seq + 2)
            return;  // a newer request already took the slot
        if (stamp & 1) {
            // Another producer, a whole ring older, is mid-write: only possible with more
            // threads than slots in flight, never with the program's two.
            std::this_thread::yield();
            stamp = slot.stamp.load(std::memory_order_acquire);
            continue;
        }
        if (slot.stamp.compare_exchange_weak(stamp, 2 * seq + 1, std::memory_order_acquire))
            break;
    }
    slot.word[0].store(reinterpret_cast<std::uintptr_t>(r.data), std::memory_order_release);
    slot.word[1].store(std::uint64_t{r.dataBytes} | std::uint64_t{r.sampleRate} << 32,
                       std::memory_order_release);
    slot.word[2].store(std::uint64_t{r.channels} | std::uint64_t{r.bitsPerSample} << 16 |
                           std::uint64_t{r.loop} << 32 |
                           std::uint64_t{r.ticket & 0x7FFFFFFFu} << 33,
                       std::memory_order_release);
    slot.word[3].store(static_cast<std::uint64_t>(r.frame), std::memory_order_release);
    slot.stamp.store(2 * seq + 2, std::memory_order_release);
}

RequestRing::Read RequestRing::TryRead(std::uint64_t seq, PlayRequest& out) const noexcept {
    const Slot& slot = slots_[seq % kSlots];
    const std::uint64_t before = slot.stamp.load(std::memory_order_acquire);
    if (before < 2 * seq + 2)
        return Read::kPending;
    if (before > 2 * seq + 2)
        return Read::kOverwritten;
    const std::uint64_t w0 = slot.word[0].load(std::memory_order_acquire);
    const std::uint64_t w1 = slot.word[1].load(std::memory_order_acquire);
    const std::uint64_t w2 = slot.word[2].load(std::memory_order_acquire);
    const std::uint64_t w3 = slot.word[3].load(std::memory_order_acquire);
    if (slot.stamp.load(std::memory_order_relaxed) != before)
        return Read::kOverwritten;
    out.data = reinterpret_cast<const std::uint8_t*>(static_cast<std::uintptr_t>(w0));
    out.dataBytes = static_cast<std::uint32_t>(w1);
    out.sampleRate = static_cast<std::uint32_t>(w1 >> 32);
    out.channels = static_cast<std::uint16_t>(w2);
    out.bitsPerSample = static_cast<std::uint16_t>(w2 >> 16);
    out.loop = (w2 >> 32) & 1;
    out.ticket = static_cast<std::uint32_t>(w2 >> 33);
    out.frame = static_cast<std::int64_t>(w3);
    return Read::kDone;
}

}  // namespace platform::player
