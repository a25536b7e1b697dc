// Multimedia timers in virtual time: nothing fires until a test advances the clock, and then every
// tick that falls in the advanced span fires, in order, on the test's own thread.
#pragma once

#include <cstdint>
#include <map>

#include "platform/doubles/call_log.h"
#include "platform/services.h"

namespace platform::doubles {

class FakeTimerService : public TimerService {
  public:
    explicit FakeTimerService(CallLog& log) : log_(log) {}

    MMRESULT BeginPeriod(UINT periodMs) override;
    MMRESULT EndPeriod(UINT periodMs) override;
    UINT SetEvent(UINT delayMs, UINT resolutionMs, LPTIMECALLBACK callback, DWORD_PTR user,
                  UINT flags) override;
    MMRESULT KillEvent(UINT timerId) override;
    DWORD GetTime() override { return static_cast<DWORD>(timeBase_ + nowMs_); }

    // Runs every tick due up to now + ms, then leaves the clock at now + ms.
    void Advance(std::uint64_t ms);
    std::uint64_t Now() const { return nowMs_; }
    // What timeGetTime reports at virtual time 0 (to test the wrap of the 32-bit counter).
    void SetTimeBase(DWORD base) { timeBase_ = base; }

    std::size_t ActiveTimers() const { return timers_.size(); }
    // Period of the only active timer, or 0 when there is none or several.
    UINT ActivePeriod() const;
    int OpenPeriods() const { return openPeriods_; }

    static constexpr UINT kMaxDelayMs = 1000000;

  private:
    struct Timer {
        UINT period;
        LPTIMECALLBACK callback;
        DWORD_PTR user;
        bool periodic;
        std::uint64_t nextDue;
    };
    CallLog& log_;
    std::uint64_t nowMs_ = 0;
    DWORD timeBase_ = 0;
    UINT nextId_ = 1;
    int openPeriods_ = 0;
    std::map<UINT, Timer> timers_;
};

}  // namespace platform::doubles
