// The multimedia timers of the Windows program on a thread of its own, as the Linux program has
// them: the player says when each tick is due, following the frames of the stream that is heard,
// so that every click lands on its frame however the stream's clock and the system's drift apart.
// Without a stream, tick k of a timer is due at its start plus k periods. The thread shares
// nothing with the GUI thread but atomics and an event.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "platform/player/tick_context.h"
#include "platform/services.h"

namespace platform::win32 {

class ThreadTimerService : public TimerService {
  public:
    // The pacer must outlive the service; DueNs is called on the timer thread only.
    explicit ThreadTimerService(player::TickPacer& pacer);
    ~ThreadTimerService() override;
    ThreadTimerService(const ThreadTimerService&) = delete;
    ThreadTimerService& operator=(const ThreadTimerService&) = delete;

    // The system's timer resolution too, which the thread's waits follow.
    MMRESULT BeginPeriod(UINT periodMs) override;
    MMRESULT EndPeriod(UINT periodMs) override;
    // Refuses (0) a period of 0 or above 2^31 - 1 ms, and a null callback.
    UINT SetEvent(UINT delayMs, UINT resolutionMs, LPTIMECALLBACK callback, DWORD_PTR user,
                  UINT flags) override;
    // Once it returns, no callback of that timer runs any more (unless called from inside that
    // very callback, which then finishes).
    MMRESULT KillEvent(UINT timerId) override;
    DWORD GetTime() override;

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

    Slot slots_[kMaxTimers];
    std::atomic<UINT> nextId_{1};
    std::atomic<int> periods_{0};
    std::atomic<bool> quit_{false};
    std::atomic<UINT> firing_{0};  // id whose callback runs now
    player::TickPacer& pacer_;
    void* changed_;  // an event: the timer set changed
    std::thread thread_;
};

}  // namespace platform::win32
