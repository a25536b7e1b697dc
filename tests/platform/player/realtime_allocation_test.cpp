// The real-time paths allocate nothing: the audio callback's render, its write over the queue and
// its catching up; the timer's due times and its Play() inside a tick, the beat callback included.
// Each path runs first while the probe counts the calling thread's allocations, then on two real
// threads at once, each counting its own.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "audio/beat_clock.h"
#include "audio/sample_store.h"
#include "platform/player/player_engine.h"
#include "platform/player/tick_context.h"
#include "platform/services.h"
#include "platform/sound_images.h"
#include "support/allocation_probe.h"
#include "support/test_waves.h"

namespace {

using allocation_probe::ThreadWatch;
using platform::player::MonotonicClock;
using platform::player::OutputWaker;
using platform::player::PlayerEngine;
using platform::player::PlayerOptions;
using platform::player::StreamReport;
using platform::player::TickContext;
using platform::player::TickScope;

constexpr std::uint32_t kBlock = 480;  // 10 ms at 48 kHz
constexpr std::int64_t kBlockNs = 10'000'000;

TEST(AllocationProbe, CountsEachFormOfNewOnTheCallingThreadOnly) {
    const ThreadWatch watch;
    auto one = std::make_unique<int>(1);
    auto many = std::make_unique<int[]>(3);
    struct alignas(64) Line {
        char bytes[64];
    };
    auto aligned = std::make_unique<Line>();
    const std::uint64_t here = watch.Allocations();
    std::uint64_t elsewhere = ~0ull;
    std::thread other([&elsewhere] {
        const ThreadWatch mine;
        elsewhere = mine.Allocations();
    });
    other.join();
    EXPECT_EQ(here, 3u);
    EXPECT_EQ(elsewhere, 0u);
    one.reset();
    EXPECT_EQ(watch.Frees(), 1u);
}

class SetClock : public MonotonicClock {
  public:
    std::int64_t NowNs() const override { return now_.load(); }
    void Set(std::int64_t ns) { now_.store(ns); }

  private:
    std::atomic<std::int64_t> now_{1'000'000'000};
};

class CountingWaker : public OutputWaker {
  public:
    void Wake() noexcept override { wakes.fetch_add(1); }
    std::atomic<int> wakes{0};
};

class RealtimeAllocation : public testing::Test {
  protected:
    void SetUp() override {
        platform::RegisterSoundImage(click_.data(), click_.size());
        engine_.SetWaker(&waker_);
    }
    void TearDown() override {
        engine_.SetWaker(nullptr);
        platform::UnregisterSoundImage(click_.data());
    }

    const char* Click() const { return reinterpret_cast<const char*>(click_.data()); }
    // One callback: a block at the clock's time, the server hearing `queued` frames behind it.
    void Callback(std::int64_t queued = 1440) {
        const std::int64_t heard = engine_.FramesRendered() - queued;
        engine_.Render(out_.data(), kBlock, StreamReport{clock_.NowNs(), heard, true, 240});
        clock_.Set(clock_.NowNs() + kBlockNs);
    }
    bool Heard() const {
        for (float s : out_)
            if (s != 0.0f)
                return true;
        return false;
    }

    const std::vector<std::uint8_t> click_ = test_waves::AccentWave();
    SetClock clock_;
    CountingWaker waker_;
    PlayerEngine engine_{PlayerOptions{}, clock_};
    std::vector<float> out_ = std::vector<float>(std::size_t{kBlock} * 2);
};

TEST_F(RealtimeAllocation, TheCallbackRendersRewritesCatchesUpAndStartsAfreshWithoutAllocating) {
    for (int i = 0; i < 4; ++i)
        Callback();  // the stream reports; its clock is valid from here on
    engine_.Play(Click(), SND_ASYNC | SND_MEMORY);  // from outside a tick: sounds at once

    ThreadWatch render;
    bool heard = false;
    for (int i = 0; i < 8; ++i) {
        Callback();
        heard = heard || Heard();
    }
    EXPECT_TRUE(heard) << "the click never sounded, so nothing was shown";
    EXPECT_EQ(render.Allocations(), 0u);

    // A request that must sound within what is written: the output steps back and writes over.
    engine_.Play(Click(), SND_ASYNC | SND_MEMORY);
    ThreadWatch rewrite;
    const std::uint32_t frames = engine_.PrepareRewrite(engine_.FramesRendered() - 1200);
    if (frames > 0)
        engine_.Render(out_.data(), std::min(frames, kBlock),
                       StreamReport{clock_.NowNs(), engine_.FramesRendered() - 1440, true, 240});
    EXPECT_GT(frames, 0u) << "nothing was written over, so nothing was shown";
    EXPECT_EQ(rewrite.Allocations(), 0u);

    // The server ran dry and played past the written frames.
    ThreadWatch catchUp;
    const std::int64_t skipped = engine_.CatchUp(engine_.FramesRendered() + 4800);
    Callback();
    EXPECT_EQ(skipped, 4800);
    EXPECT_EQ(catchUp.Allocations(), 0u);

    // The server went away and a new stream begins.
    engine_.Play(Click(), SND_ASYNC | SND_MEMORY | SND_LOOP);
    ThreadWatch lost;
    engine_.StreamLost();
    Callback();
    Callback();
    EXPECT_EQ(lost.Allocations(), 0u);
    EXPECT_EQ(lost.Frees(), 0u);
}

TEST_F(RealtimeAllocation, TheTimersDueTimesAndItsPlaysInsideATickAllocateNothing) {
    // A tick per callback, so that the run keeps pace with the stream.
    const TickContext run{platform::player::NewRunId(), clock_.NowNs(), 10, 1};
    // Before any stream: the monotonic clock rules.
    ThreadWatch noStream;
    engine_.DueNs(run, clock_.NowNs());
    {
        const TickScope scope(run);
        engine_.Play(Click(), SND_ASYNC | SND_MEMORY);
    }
    EXPECT_EQ(noStream.Allocations(), 0u);

    for (int i = 0; i < 4; ++i)
        Callback();
    ThreadWatch ticks;
    std::int64_t previous = 0;
    for (std::uint64_t k = 2; k < 40; ++k) {
        TickContext tick = run;
        tick.tick = k;
        const std::int64_t due = engine_.DueNs(tick, clock_.NowNs());
        const TickScope scope(tick);
        engine_.Play(k % 4 == 0 ? nullptr : Click(), SND_ASYNC | SND_MEMORY);
        if (k > 3) {
            EXPECT_NEAR(static_cast<double>(due - previous), 10e6, 1e9 / 48000);
        }
        previous = due;
        Callback();
    }
    // The timer stopped for three seconds while the stream went on: the run starts afresh.
    for (int i = 0; i < 300; ++i)
        Callback();
    TickContext late = run;
    late.tick = 40;
    engine_.DueNs(late, clock_.NowNs());
    EXPECT_EQ(ticks.Allocations(), 0u);
    EXPECT_EQ(engine_.Reanchors(), 1);
}

TEST_F(RealtimeAllocation, TheBeatCallbackInsideATickAllocatesNothing) {
    auto accent = std::make_unique<char[]>(click_.size());
    std::copy(click_.begin(), click_.end(), accent.get());
    g_pMetronome1.reset(std::move(accent), click_.size());
    auto regular = std::make_unique<char[]>(click_.size());
    std::copy(click_.begin(), click_.end(), regular.get());
    g_pMetronome2.reset(std::move(regular), click_.size());
    ResetBeatClock();
    g_nSignature.store(9);  // 4/8: folded in place by the callback
    platform::Install(platform::Services{nullptr, &engine_, nullptr, nullptr});
    for (int i = 0; i < 4; ++i)
        Callback();

    const TickContext run{platform::player::NewRunId(), clock_.NowNs(), 250, 1};
    ThreadWatch beats;
    for (std::uint64_t k = 1; k <= 12; ++k) {
        TickContext tick = run;
        tick.tick = k;
        engine_.DueNs(tick, clock_.NowNs());
        const TickScope scope(tick);
        BeatTimerProc(1, 0, 0, 0, 0);
    }
    const std::uint64_t allocations = beats.Allocations();
    bool heard = false;
    for (int i = 0; i < 100 && !heard; ++i) {
        Callback();
        heard = Heard();
    }
    platform::Install(platform::Services{});
    ClearSampleStore();
    ResetBeatClock();
    EXPECT_EQ(allocations, 0u);
    EXPECT_TRUE(heard) << "the beats played nothing, so nothing was shown";
}

TEST_F(RealtimeAllocation, OnTheirOwnThreadsTheCallbackAndTheTimerAllocateNothing) {
    for (int i = 0; i < 4; ++i)
        Callback();
    std::atomic<bool> done{false};
    std::atomic<std::uint64_t> callbackAllocations{~0ull};
    std::atomic<std::uint64_t> timerAllocations{~0ull};
    std::thread callback([&] {
        std::vector<float> out(std::size_t{kBlock} * 2);
        std::int64_t t = clock_.NowNs();
        const ThreadWatch watch;
        for (int i = 0; !done.load() || i < 200; ++i) {
            const std::int64_t heard = engine_.FramesRendered() - 1440;
            if (i % 50 == 49)
                engine_.PrepareRewrite(heard + 240);
            engine_.Render(out.data(), kBlock, StreamReport{t += kBlockNs, heard, true, 240});
        }
        callbackAllocations.store(watch.Allocations());
    });
    std::thread timer([&] {
        const TickContext run{platform::player::NewRunId(), clock_.NowNs(), 100, 1};
        const ThreadWatch watch;
        for (std::uint64_t k = 1; k <= 400; ++k) {
            TickContext tick = run;
            tick.tick = k;
            engine_.DueNs(tick, clock_.NowNs());
            const TickScope scope(tick);
            engine_.Play(Click(), SND_ASYNC | SND_MEMORY);
        }
        timerAllocations.store(watch.Allocations());
        done.store(true);
    });
    timer.join();
    callback.join();
    EXPECT_EQ(callbackAllocations.load(), 0u);
    EXPECT_EQ(timerAllocations.load(), 0u);
}

}  // namespace
