// Virtual-time timers: ticks land exactly on start + k * period.
#include "platform/doubles/fake_timer_service.h"

#include <string>

namespace platform::doubles {

std::vector<std::string> CallLog::Texts(const std::string& prefix) const {
    std::vector<std::string> texts;
    for (const Call& c : calls_)
        if (c.text.rfind(prefix, 0) == 0)
            texts.push_back(c.text);
    return texts;
}

MMRESULT FakeTimerService::BeginPeriod(UINT periodMs) {
    log_.Add(nowMs_, "timeBeginPeriod(" + std::to_string(periodMs) + ")");
    ++openPeriods_;
    return TIMERR_NOERROR;
}

MMRESULT FakeTimerService::EndPeriod(UINT periodMs) {
    log_.Add(nowMs_, "timeEndPeriod(" + std::to_string(periodMs) + ")");
    if (openPeriods_ == 0)
        return TIMERR_NOCANDO;
    --openPeriods_;
    return TIMERR_NOERROR;
}

UINT FakeTimerService::SetEvent(UINT delayMs, UINT resolutionMs, LPTIMECALLBACK callback,
                                DWORD_PTR user, UINT flags) {
    const bool periodic = (flags & TIME_PERIODIC) != 0;
    std::string text = "timeSetEvent(" + std::to_string(delayMs) + "," +
                       std::to_string(resolutionMs) + "," +
                       (periodic ? "TIME_PERIODIC" : "TIME_ONESHOT") + ")";
    if (delayMs == 0 || delayMs > kMaxDelayMs || !callback) {
        log_.Add(nowMs_, text + " -> 0");
        return 0;
    }
    const UINT id = nextId_++;
    timers_[id] = Timer{delayMs, callback, user, periodic, nowMs_ + delayMs};
    log_.Add(nowMs_, text + " -> " + std::to_string(id));
    return id;
}

MMRESULT FakeTimerService::KillEvent(UINT timerId) {
    log_.Add(nowMs_, "timeKillEvent(" + std::to_string(timerId) + ")");
    return timers_.erase(timerId) ? TIMERR_NOERROR : TIMERR_NOCANDO;
}

void FakeTimerService::Advance(std::uint64_t ms) {
    const std::uint64_t target = nowMs_ + ms;
    for (;;) {
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it)
            if (next == timers_.end() || it->second.nextDue < next->second.nextDue)
                next = it;
        if (next == timers_.end() || next->second.nextDue > target)
            break;
        const UINT id = next->first;
        Timer& t = next->second;
        nowMs_ = t.nextDue;
        const LPTIMECALLBACK callback = t.callback;
        const DWORD_PTR user = t.user;
        if (t.periodic)
            t.nextDue += t.period;
        else
            timers_.erase(next);
        callback(id, 0, user, 0, 0);
    }
    nowMs_ = target;
}

UINT FakeTimerService::ActivePeriod() const {
    return timers_.size() == 1 ? timers_.begin()->second.period : 0;
}

}  // namespace platform::doubles
