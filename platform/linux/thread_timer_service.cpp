// The timer thread: it scans a fixed table of timers, fires those that are due inside a tick
// context, and sleeps on a futex until the next due time (absolute, CLOCK_MONOTONIC) or a change.
#include "platform/linux/thread_timer_service.h"

#include <linux/futex.h>
#include <pthread.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <climits>

#include "platform/linux/monotonic_clock.h"
#include "platform/linux/output_tuning.h"
#include "platform/player/tick_context.h"

namespace platform::linux_backend {
namespace {

constexpr std::int64_t kMs = 1'000'000;

void FutexWaitUntil(std::atomic<std::uint32_t>& word, std::uint32_t seen, std::int64_t dueNs) {
    timespec until{};
    timespec* timeout = nullptr;
    if (dueNs != INT64_MAX) {
        until.tv_sec = dueNs / 1'000'000'000;
        until.tv_nsec = dueNs % 1'000'000'000;
        timeout = &until;
    }
    // FUTEX_WAIT_BITSET takes an absolute time on CLOCK_MONOTONIC.
    syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&word),
            FUTEX_WAIT_BITSET | FUTEX_PRIVATE_FLAG, seen, timeout, nullptr, FUTEX_BITSET_MATCH_ANY);
}

void FutexWakeAll(std::atomic<std::uint32_t>& word) {
    syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&word), FUTEX_WAKE | FUTEX_PRIVATE_FLAG,
            INT_MAX, nullptr, nullptr, 0);
}

bool AskForRealTime() {
    prctl(PR_SET_TIMERSLACK, 1UL);  // wake-ups to the microsecond, not 50 µs late
    sched_param param{};
    param.sched_priority = sched_get_priority_min(SCHED_FIFO) + 10;
    return pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0;
}

}  // namespace

ThreadTimerService::ThreadTimerService(player::TickPacer* pacer)
    : pacer_(pacer), thread_([this] { Run(); }) {}

ThreadTimerService::~ThreadTimerService() {
    quit_.store(true);
    Wake();
    thread_.join();
}

void ThreadTimerService::Wake() {
    changes_.fetch_add(1, std::memory_order_release);
    FutexWakeAll(changes_);
}

MMRESULT ThreadTimerService::BeginPeriod(UINT periodMs) {
    if (periodMs == 0)
        return TIMERR_NOCANDO;
    periods_.fetch_add(1);
    return TIMERR_NOERROR;
}

MMRESULT ThreadTimerService::EndPeriod(UINT periodMs) {
    int open = periods_.load();
    do {
        if (periodMs == 0 || open == 0)
            return TIMERR_NOCANDO;
    } while (!periods_.compare_exchange_weak(open, open - 1));
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
        slot.startNs.store(MonotonicNowNs());
        slot.run.store(player::NewRunId());
        slot.id.store(id, std::memory_order_release);
        Wake();
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
        Wake();
        return TIMERR_NOERROR;
    }
    return TIMERR_NOCANDO;
}

DWORD ThreadTimerService::GetTime() {
    return static_cast<DWORD>(MonotonicNowNs() / kMs);
}

void ThreadTimerService::Run() {
    realTime_.store(AskForRealTime(), std::memory_order_relaxed);
    // Thread-only bookkeeping: which timer each slot held when last seen, and its next tick.
    UINT seen[kMaxTimers] = {};
    std::uint64_t nextTick[kMaxTimers] = {};
    while (!quit_.load()) {
        const std::uint32_t changes = changes_.load(std::memory_order_acquire);
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
            const std::int64_t start = slot.startNs.load();
            const UINT periodMs = slot.periodMs.load();
            const std::int64_t period = std::int64_t{periodMs} * kMs;
            const std::int64_t now = MonotonicNowNs();
            player::TickContext context{slot.run.load(), start, periodMs, nextTick[i]};
            const std::int64_t due =
                pacer_ ? pacer_->DueNs(context, now) : player::MonotonicDueNs(context);
            if (due > now) {
                // A paced deadline moves with the stream's reports: look again now and then.
                earliest =
                    std::min(earliest, pacer_ ? std::min(due, now + tuning::kRecheckNs) : due);
                continue;
            }
            if (!pacer_) {
                // After a stall, sound the latest due tick once instead of a burst of stale ones.
                const auto behind = static_cast<std::uint64_t>((now - due) / period);
                nextTick[i] += behind;
                context.tick = nextTick[i];
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
        if (!fired)
            FutexWaitUntil(changes_, changes, earliest);
    }
}

}  // namespace platform::linux_backend
