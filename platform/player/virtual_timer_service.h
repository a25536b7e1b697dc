// Multimedia timers in virtual time for the offline renderer: ticks fire when the pacer says (the
// player, following its stream) or at exactly start + k * period without one, plus an optional
// wake-up delay, inside the same tick context as the real timer thread.
#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include "platform/player/tick_context.h"
#include "platform/services.h"

namespace platform::player {

class VirtualTimerService : public TimerService {
  public:
    // nowNs reads the renderer's virtual clock.
    explicit VirtualTimerService(std::function<std::int64_t()> nowNs) : nowNs_(std::move(nowNs)) {}

    MMRESULT BeginPeriod(UINT periodMs) override;
    MMRESULT EndPeriod(UINT periodMs) override;
    UINT SetEvent(UINT delayMs, UINT resolutionMs, LPTIMECALLBACK callback, DWORD_PTR user,
                  UINT flags) override;
    MMRESULT KillEvent(UINT timerId) override;
    DWORD GetTime() override { return static_cast<DWORD>(nowNs_() / 1'000'000); }

    // The time at which the next tick is due (INT64_MAX when none), and firing it.
    std::int64_t NextDueNs() const;
    void FireNext();
    void SetPacer(TickPacer* pacer) { pacer_ = pacer; }
    // A wake-up delay added to each tick's due time, as a loaded system would give.
    void SetWakeDelay(std::function<std::int64_t(std::uint64_t tick)> delay) {
        delay_ = std::move(delay);
    }

  private:
    struct Timer {
        std::uint64_t run;
        std::int64_t startNs;
        UINT periodMs;
        LPTIMECALLBACK callback;
        DWORD_PTR user;
        bool periodic;
        std::uint64_t nextTick;
    };
    std::int64_t DueNs(const Timer& t) const;

    std::function<std::int64_t()> nowNs_;
    TickPacer* pacer_ = nullptr;
    std::function<std::int64_t(std::uint64_t)> delay_;
    std::map<UINT, Timer> timers_;
    UINT nextId_ = 1;
    int periods_ = 0;
};

}  // namespace platform::player
