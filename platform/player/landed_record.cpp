// The estimate as plain atomics (the time stored last, with release), the landing under a sequence
// lock that a reader gives up on after a few tries.
#include "platform/player/landed_record.h"

namespace platform::player {

std::uint32_t LandedRecord::NewTicket() noexcept {
    std::uint32_t ticket = 0;
    while (ticket == 0)  // at most twice: 0 comes once in 2^31
        ticket = (tickets_.fetch_add(1, std::memory_order_relaxed) + 1) & 0x7FFFFFFFu;
    return ticket;
}

void LandedRecord::NoteAsked(const Asked& asked) noexcept {
    askedFrame_.store(asked.frame, std::memory_order_relaxed);
    askedEpoch_.store(asked.epoch, std::memory_order_relaxed);
    askedTicket_.store(asked.ticket, std::memory_order_relaxed);
    askedNs_.store(asked.ns, std::memory_order_release);
}

LandedRecord::Asked LandedRecord::LastAsked() const noexcept {
    Asked asked;
    asked.ns = askedNs_.load(std::memory_order_acquire);
    asked.frame = askedFrame_.load(std::memory_order_relaxed);
    asked.epoch = askedEpoch_.load(std::memory_order_relaxed);
    asked.ticket = askedTicket_.load(std::memory_order_relaxed);
    return asked;
}

void LandedRecord::NoteLanded(std::uint32_t ticket, std::int64_t frame) noexcept {
    const std::uint32_t v = version_.load(std::memory_order_relaxed);
    version_.store(v + 1, std::memory_order_relaxed);
    landedFrame_.store(frame, std::memory_order_release);
    landedTicket_.store(ticket, std::memory_order_release);
    version_.store(v + 2, std::memory_order_release);
}

bool LandedRecord::TryLanded(std::uint32_t ticket, std::int64_t& frame) const noexcept {
    for (int i = 0; i < kTries; ++i) {
        const std::uint32_t v1 = version_.load(std::memory_order_acquire);
        const std::uint32_t landed = landedTicket_.load(std::memory_order_acquire);
        const std::int64_t at = landedFrame_.load(std::memory_order_acquire);
        const std::uint32_t v2 = version_.load(std::memory_order_relaxed);
        if (v1 != v2 || (v1 & 1) != 0)
            continue;
        if (landed != ticket)
            return false;
        frame = at;
        return true;
    }
    return false;
}

}  // namespace platform::player
