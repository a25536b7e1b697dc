// The timer thread: ticks counted from the start (never early, never drifting), refusals and
// harmless calls, and kills that hold from the moment they return, from any thread.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/linux/monotonic_clock.h"
#include "platform/linux/thread_timer_service.h"
#include "platform/player/tick_context.h"

namespace {

using platform::linux_backend::MonotonicNowNs;
using platform::linux_backend::ThreadTimerService;
using namespace std::chrono_literals;

struct Record {
    std::atomic<int> calls{0};
    std::int64_t firstStart = 0;
    std::vector<std::int64_t> lateNs;  // how late each tick came after its due time
    std::vector<std::uint64_t> ticks;
};

void Recording(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    auto* r = reinterpret_cast<Record*>(user);
    const auto& tick = platform::player::CurrentTick();
    const std::int64_t due = tick.startNs + static_cast<std::int64_t>(tick.tick) * tick.periodMs *
                                                std::int64_t{1'000'000};
    if (r->lateNs.size() < r->lateNs.capacity()) {
        r->lateNs.push_back(MonotonicNowNs() - due);
        r->ticks.push_back(tick.tick);
    }
    r->calls.fetch_add(1);
}

TEST(TimerThread, TicksComeAtStartPlusKPeriodsNeverEarly) {
    ThreadTimerService timers;
    Record r;
    r.lateNs.reserve(100);
    r.ticks.reserve(100);
    const UINT id =
        timers.SetEvent(5, 1, Recording, reinterpret_cast<DWORD_PTR>(&r), TIME_PERIODIC);
    ASSERT_NE(id, 0u);
    while (r.calls.load() < 40)
        std::this_thread::sleep_for(1ms);
    timers.KillEvent(id);
    for (std::size_t i = 0; i < r.ticks.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "tick " << r.ticks[i]);
        EXPECT_GE(r.lateNs[i], 0) << "tick " << r.ticks[i] << " came early";
        // Each tick is the next one (no stall here is long enough to skip a whole period).
        if (i > 0) {
            EXPECT_GE(r.ticks[i], r.ticks[i - 1] + 1);
        }
    }
    // No tick at the start itself; a busy machine may have skipped the first ones.
    EXPECT_GE(r.ticks.front(), 1u);
}

TEST(TimerThread, RefusesBadPeriodsAndToleratesStrayCalls) {
    ThreadTimerService timers;
    Record r;
    const auto user = reinterpret_cast<DWORD_PTR>(&r);
    EXPECT_EQ(timers.SetEvent(0, 1, Recording, user, TIME_PERIODIC), 0u);
    EXPECT_EQ(timers.SetEvent(0xFFFFFFFFu, 1, Recording, user, TIME_PERIODIC), 0u);
    EXPECT_EQ(timers.SetEvent(10, 1, nullptr, user, TIME_PERIODIC), 0u);
    EXPECT_EQ(timers.KillEvent(0), TIMERR_NOCANDO);
    EXPECT_EQ(timers.KillEvent(12345), TIMERR_NOCANDO);
    EXPECT_EQ(timers.EndPeriod(1), TIMERR_NOCANDO);
    EXPECT_EQ(timers.BeginPeriod(1), TIMERR_NOERROR);
    EXPECT_EQ(timers.EndPeriod(1), TIMERR_NOERROR);
    EXPECT_EQ(timers.EndPeriod(1), TIMERR_NOCANDO);
    const UINT id = timers.SetEvent(1000, 1, Recording, user, TIME_PERIODIC);
    EXPECT_EQ(timers.KillEvent(id), TIMERR_NOERROR);
    EXPECT_EQ(timers.KillEvent(id), TIMERR_NOCANDO);
    EXPECT_EQ(r.calls.load(), 0);
}

TEST(TimerThread, AOneShotFiresOnce) {
    ThreadTimerService timers;
    Record r;
    timers.SetEvent(2, 1, Recording, reinterpret_cast<DWORD_PTR>(&r), TIME_ONESHOT);
    // However late a busy machine lets it fire, it fires, and then never again.
    const auto giveUp = std::chrono::steady_clock::now() + 10s;
    while (r.calls.load() == 0 && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(1ms);
    ASSERT_EQ(r.calls.load(), 1);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(r.calls.load(), 1);
}

std::atomic<bool> g_inside{false};
void Slow(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
    g_inside.store(true);
    std::this_thread::sleep_for(20ms);
    g_inside.store(false);
}

TEST(TimerThread, NoCallbackRunsOnceKillReturns) {
    ThreadTimerService timers;
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        const UINT id = timers.SetEvent(1, 1, Slow, 0, TIME_PERIODIC);
        while (!g_inside.load())
            std::this_thread::yield();
        timers.KillEvent(id);  // a tick is in flight
        EXPECT_FALSE(g_inside.load());
        std::this_thread::sleep_for(5ms);
        EXPECT_FALSE(g_inside.load());
    }
}

struct SelfKill {
    ThreadTimerService* timers;
    std::atomic<UINT> id{0};
    std::atomic<int> calls{0};
};
void KillsItself(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    auto* s = reinterpret_cast<SelfKill*>(user);
    s->calls.fetch_add(1);
    s->timers->KillEvent(id);
}

TEST(TimerThread, AKillFromInsideTheCallbackDoesNotDeadlock) {
    ThreadTimerService timers;
    SelfKill s{&timers};
    s.id = timers.SetEvent(1, 1, KillsItself, reinterpret_cast<DWORD_PTR>(&s), TIME_PERIODIC);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(s.calls.load(), 1);
    EXPECT_EQ(timers.KillEvent(s.id), TIMERR_NOCANDO);
}

TEST(TimerThread, TimeIsMonotonicMillisecondsThatWrap) {
    ThreadTimerService timers;
    const DWORD a = timers.GetTime();
    std::this_thread::sleep_for(20ms);
    const DWORD elapsed = timers.GetTime() - a;  // modular, so right across a wrap
    EXPECT_GE(elapsed, 20u);
    EXPECT_LT(elapsed, 5000u);
    EXPECT_EQ(timers.GetTime(), static_cast<DWORD>(MonotonicNowNs() / 1'000'000));
}

}  // namespace

namespace {

// A pacer that holds every tick until released, then makes tick k due 3 ms after the previous.
class HoldingPacer : public platform::player::TickPacer {
  public:
    std::int64_t DueNs(const platform::player::TickContext& tick,
                       std::int64_t nowNs) noexcept override {
        if (!released.load())
            return nowNs + 5'000'000;  // the stream stands: look again later
        return tick.startNs + static_cast<std::int64_t>(tick.tick) * 3'000'000;
    }
    std::atomic<bool> released{false};
};

TEST(TimerThread, APacerSaysWhenTicksAreDue) {
    HoldingPacer pacer;
    ThreadTimerService timers(&pacer);
    Record r;
    r.lateNs.reserve(100);
    r.ticks.reserve(100);
    // A period of a minute: only the pacer can make these ticks come.
    const UINT id =
        timers.SetEvent(60000, 1, Recording, reinterpret_cast<DWORD_PTR>(&r), TIME_PERIODIC);
    std::this_thread::sleep_for(60ms);
    EXPECT_EQ(r.calls.load(), 0);
    pacer.released = true;
    const auto until = std::chrono::steady_clock::now() + 5s;
    while (r.calls.load() < 10 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(1ms);
    timers.KillEvent(id);
    ASSERT_GE(r.calls.load(), 10);
    for (std::size_t i = 1; i < r.ticks.size(); ++i)
        EXPECT_EQ(r.ticks[i], r.ticks[i - 1] + 1);
}

}  // namespace
