// The timer's side never waits for the audio callback: with the callback held in the middle of
// publishing the stream's clock (as a preempted writer on a shared CPU would be), a tick's due
// time and its placement still come at once, from the last good reading. Each wait here has its
// own time limit, and the writer is let go whatever happened, so a fault fails and never hangs.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

#include "platform/player/player_engine.h"
#include "platform/player/tick_context.h"

namespace {

using platform::player::MonotonicClock;
using platform::player::PlayerEngine;
using platform::player::PlayerOptions;
using platform::player::StreamReport;
using platform::player::TickContext;

class FixedClock : public MonotonicClock {
  public:
    std::int64_t NowNs() const override { return 1'000'000'000; }
};

// The writer's side of the hook: says it is held, then waits for its release.
void Hold(void* context) {
    auto* state = static_cast<std::atomic<int>*>(context);
    state->store(1);
    while (state->load() != 2)
        std::this_thread::yield();
}

TEST(BoundedWait, TheTimersSideGoesOnFromItsLastReadingWhileTheCallbackIsHeld) {
    FixedClock clock;
    PlayerEngine engine(PlayerOptions{}, clock);
    std::vector<float> out(960 * 2);
    const std::int64_t now = clock.NowNs();
    engine.Render(out.data(), 960, StreamReport{now, 0, true, 720});
    const TickContext first{platform::player::NewRunId(), now, 600, 1};
    const std::int64_t due1 = engine.DueNs(first, now);  // the timer's side has read the clock

    std::atomic<int> state{0};
    engine.SetClockHookForTest(&Hold, &state);
    std::thread writer([&] {
        engine.Render(out.data(), 960, StreamReport{now + 20'000'000, 960, true, 720});
    });
    while (state.load() == 0)
        std::this_thread::yield();
    auto timer = std::async(std::launch::async, [&] {
        TickContext second = first;
        second.tick = 2;
        const std::int64_t due = engine.DueNs(second, now);
        const platform::player::TickScope scope(second);
        engine.Play(nullptr, SND_ASYNC);
        return due;
    });
    const bool returned = timer.wait_for(std::chrono::seconds(2)) == std::future_status::ready;
    state.store(2);
    writer.join();
    ASSERT_TRUE(returned) << "the timer's side waited for the held callback";
    // From the reading it had: one period after the first tick, to a frame.
    EXPECT_NEAR(static_cast<double>(timer.get() - due1), 600e6, 1e9 / 48000);
}

}  // namespace
