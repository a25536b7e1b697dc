// Virtual-time timers with run numbers and tick contexts like the real timer thread's.
#include "platform/player/virtual_timer_service.h"

#include <algorithm>

namespace platform::player {

MMRESULT VirtualTimerService::BeginPeriod(UINT) {
    ++periods_;
    return TIMERR_NOERROR;
}

MMRESULT VirtualTimerService::EndPeriod(UINT) {
    if (periods_ == 0)
        return TIMERR_NOCANDO;
    --periods_;
    return TIMERR_NOERROR;
}

UINT VirtualTimerService::SetEvent(UINT delayMs, UINT, LPTIMECALLBACK callback, DWORD_PTR user,
                                   UINT flags) {
    if (delayMs == 0 || delayMs > 0x7FFFFFFFu || !callback)
        return 0;
    const UINT id = nextId_++;
    timers_[id] =
        Timer{NewRunId(), nowNs_(), delayMs, callback, user, (flags & TIME_PERIODIC) != 0, 1};
    return id;
}

MMRESULT VirtualTimerService::KillEvent(UINT timerId) {
    return timers_.erase(timerId) ? TIMERR_NOERROR : TIMERR_NOCANDO;
}

std::int64_t VirtualTimerService::DueNs(const Timer& t) const {
    const TickContext tick{t.run, t.startNs, t.periodMs, t.nextTick};
    const std::int64_t due = pacer_ ? pacer_->DueNs(tick, nowNs_()) : MonotonicDueNs(tick);
    return due + (delay_ ? delay_(t.nextTick) : 0);
}

std::int64_t VirtualTimerService::NextDueNs() const {
    std::int64_t next = INT64_MAX;
    for (const auto& [id, t] : timers_)
        next = std::min(next, DueNs(t));
    return next;
}

void VirtualTimerService::FireNext() {
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it)
        if (next == timers_.end() || DueNs(it->second) < DueNs(next->second))
            next = it;
    // A pacer may have moved the tick on meanwhile (its stream stands): nothing is due yet.
    if (next == timers_.end() || DueNs(next->second) > nowNs_())
        return;
    const UINT id = next->first;
    Timer t = next->second;
    if (t.periodic)
        ++next->second.nextTick;
    else
        timers_.erase(next);
    const TickScope scope(TickContext{t.run, t.startNs, t.periodMs, t.nextTick});
    t.callback(id, 0, t.user, 0, 0);
}

}  // namespace platform::player
