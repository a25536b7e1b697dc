// The multimedia timers on a thread of their own, sleeping to absolute deadlines on the monotonic
// clock. A pacer (the player) says when each tick is due, following the sound that is heard;
// without one tick k of a timer is due at its start plus k periods and never drifts. The thread
// shares nothing with the GUI thread but atomics, and asks for real-time scheduling (carrying on
// without it).
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "platform/player/tick_context.h"
#include "platform/services.h"

namespace platform::linux_backend {

class ThreadTimerService : public TimerService {
  public:
    // The pacer, when given, must outlive the service; DueNs is called on the timer thread only.
    explicit ThreadTimerService(player::TickPacer* pacer = nullptr);
    ~ThreadTimerService() override;
    ThreadTimerService(const ThreadTimerService&) = delete;
    ThreadTimerService& operator=(const ThreadTimerService&) = delete;

    MMRESULT BeginPeriod(UINT periodMs) override;
    MMRESULT EndPeriod(UINT periodMs) override;
    // Refuses (0) a period of 0 or above 2^31 - 1 ms, and a null callback.
    UINT SetEvent(UINT delayMs, UINT resolutionMs, LPTIMECALLBACK callback, DWORD_PTR user,
                  UINT flags) override;
    // Once it returns, no callback of that timer runs any more (unless called from inside that
    // very callback, which then finishes).
    MMRESULT KillEvent(UINT timerId) override;
    DWORD GetTime() override;

    // Whether the thread got real-time scheduling.
    bool RealTime() const { return realTime_.load(std::memory_order_relaxed); }

    static constexpr std::size_t kMaxTimers = 16;

  private:
    static constexpr UINT kClaimed = 0xFFFFFFFFu;  // a slot being filled
    struct Slot {
        std::atomic<UINT> id{0};  // 0: free
        std::atomic<LPTIMECALLBACK> callback{nullptr};
        std::atomic<DWORD_PTR> user{0};
        std::atomic<UINT> periodMs{0};
        std::atomic<bool> periodic{false};
        std::atomic<std::int64_t> startNs{0};
        std::atomic<std::uint64_t> run{0};
    };
    void Run();
    std::int64_t DueNs(const player::TickContext& tick, std::int64_t nowNs);
    void Wake();

    Slot slots_[kMaxTimers];
    std::atomic<UINT> nextId_{1};
    std::atomic<int> periods_{0};
    std::atomic<std::uint32_t> changes_{0};  // futex word: bumped when the timer set changes
    std::atomic<bool> quit_{false};
    std::atomic<UINT> firing_{0};  // id whose callback runs now
    std::atomic<bool> realTime_{false};
    player::TickPacer* const pacer_;
    std::thread thread_;
};

}  // namespace platform::linux_backend
