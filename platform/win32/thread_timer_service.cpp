// The timer thread: it scans a fixed table of timers, fires those that are due inside a tick
// context, and waits on an event until the next due time or a change of the table.
#include "platform/win32/thread_timer_service.h"

#include <algorithm>

#include "platform/win32/system_calls.h"

namespace platform::win32 {
namespace {

constexpr std::int64_t kMs = 1'000'000;
// A paced deadline moves with the stream's reports (every 10 ms): look again now and then.
constexpr std::int64_t kRecheckNs = 150 * kMs;

}  // namespace

ThreadTimerService::ThreadTimerService(player::TickPacer& pacer)
    : pacer_(pacer), changed_(sys::NewEvent()), thread_([this] { Run(); }) {}

ThreadTimerService::~ThreadTimerService() {
    quit_.store(true);
    sys::SignalEvent(changed_);
    thread_.join();
    // A resolution still asked for goes with the service.
    for (int open = periods_.load(); open > 0; --open)
        sys::TimeEndPeriod(1);
    sys::CloseEvent(changed_);
}

MMRESULT ThreadTimerService::BeginPeriod(UINT periodMs) {
    if (periodMs == 0)
        return TIMERR_NOCANDO;
    periods_.fetch_add(1);
    sys::TimeBeginPeriod(1);
    return TIMERR_NOERROR;
}

MMRESULT ThreadTimerService::EndPeriod(UINT periodMs) {
    int open = periods_.load();
    do {
        if (periodMs == 0 || open == 0)
            return TIMERR_NOCANDO;
    } while (!periods_.compare_exchange_weak(open, open - 1));
    sys::TimeEndPeriod(1);
    return TIMERR_NOERROR;
}

UINT ThreadTimerService::SetEvent(UINT delayMs, UINT, LPTIMECALLBACK callback, DWORD_PTR user,
                                  UINT flags) {
    if (delayMs == 0 || delayMs > 0x7FFFFFFFu || !callback)
        return 0;
    for (Slot& slot : slots_) {
        UINT expected = 0;
        if (!slot.id.compare_exchange_strong(expected, kClaimed))
            continue;
        UINT id = nextId_.fetch_add(1);
        if (id == 0 || id == kClaimed)
            id = nextId_.fetch_add(1);
        slot.callback.store(callback);
        slot.user.store(user);
        slot.periodMs.store(delayMs);
        slot.periodic.store((flags & TIME_PERIODIC) != 0);
        slot.startNs.store(sys::MonotonicNowNs());
        slot.run.store(player::NewRunId());
        slot.id.store(id, std::memory_order_release);
        sys::SignalEvent(changed_);
        return id;
    }
    return 0;
}

MMRESULT ThreadTimerService::KillEvent(UINT timerId) {
    if (timerId == 0 || timerId == kClaimed)
        return TIMERR_NOCANDO;
    for (Slot& slot : slots_) {
        UINT expected = timerId;
        if (!slot.id.compare_exchange_strong(expected, 0))
            continue;
        // The thread checks the slot again after announcing a callback, so once this one is not
        // firing it never will. From inside the callback itself there is nothing to wait for.
        if (std::this_thread::get_id() != thread_.get_id())
            while (firing_.load() == timerId)
                std::this_thread::yield();
        sys::SignalEvent(changed_);
        return TIMERR_NOERROR;
    }
    return TIMERR_NOCANDO;
}

DWORD ThreadTimerService::GetTime() {
    return sys::TimeGetTime();
}

void ThreadTimerService::Run() {
    sys::RaiseTimerThread();
    // Thread-only bookkeeping: which timer each slot held when last seen, and its next tick.
    UINT seen[kMaxTimers] = {};
    std::uint64_t nextTick[kMaxTimers] = {};
    while (!quit_.load()) {
        std::int64_t earliest = INT64_MAX;
        bool fired = false;
        for (std::size_t i = 0; i < kMaxTimers && !quit_.load(); ++i) {
            Slot& slot = slots_[i];
            const UINT id = slot.id.load(std::memory_order_acquire);
            if (id == 0 || id == kClaimed) {
                seen[i] = 0;
                continue;
            }
            if (seen[i] != id) {
                seen[i] = id;
                nextTick[i] = 1;
            }
            const std::int64_t now = sys::MonotonicNowNs();
            player::TickContext context{slot.run.load(), slot.startNs.load(), slot.periodMs.load(),
                                        nextTick[i]};
            const std::int64_t due = pacer_.DueNs(context, now);
            if (due > now) {
                earliest = std::min(earliest, std::min(due, now + kRecheckNs));
                continue;
            }
            const LPTIMECALLBACK callback = slot.callback.load();
            const DWORD_PTR user = slot.user.load();
            const bool periodic = slot.periodic.load();
            firing_.store(id);
            if (slot.id.load() == id) {
                const player::TickScope scope(context);
                callback(id, 0, user, 0, 0);
            }
            firing_.store(0);
            fired = true;
            ++nextTick[i];
            if (!periodic) {
                UINT expected = id;
                slot.id.compare_exchange_strong(expected, 0);
            }
        }
        if (fired)
            continue;
        // Whole milliseconds, rounded up rather than spinning: the pacer asks for a tick well
        // ahead of its frame, so a millisecond late costs nothing.
        unsigned waitMs = 0xFFFFFFFFu;  // INFINITE
        if (earliest != INT64_MAX)
            waitMs = static_cast<unsigned>(
                std::max<std::int64_t>(0, (earliest - sys::MonotonicNowNs() + kMs - 1) / kMs));
        sys::WaitForEvents(&changed_, 1, waitMs);
    }
}

}  // namespace platform::win32
