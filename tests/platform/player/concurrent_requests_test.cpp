// Requests from two threads while the audio callback renders on a third: the last request wins,
// and nothing races (this test is the reason for the ThreadSanitizer build).
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "platform/player/player_engine.h"
#include "platform/player/tick_context.h"
#include "platform/sound_images.h"
#include "support/test_waves.h"

namespace {

using platform::player::MonotonicClock;
using platform::player::PlayerEngine;
using platform::player::PlayerOptions;

class CountingClock : public MonotonicClock {
  public:
    std::int64_t NowNs() const override { return now_.fetch_add(1000); }

  private:
    mutable std::atomic<std::int64_t> now_{0};
};

TEST(ConcurrentRequests, TheLastRequestWins) {
    const auto a = test_waves::MakeWave(std::vector<float>(48000, 0.25f));
    const auto b = test_waves::MakeWave(std::vector<float>(48000, -0.5f));
    platform::RegisterSoundImage(a.data(), a.size());
    platform::RegisterSoundImage(b.data(), b.size());
    CountingClock clock;
    PlayerOptions options;
    options.placement = platform::player::Placement::kAtWakeUp;
    PlayerEngine player(options, clock);
    std::atomic<bool> done{false};
    std::thread callback([&] {
        std::vector<float> out(2 * 64);
        std::int64_t t = 0;
        std::int64_t frames = 0;
        while (!done.load()) {
            player.Render(out.data(), 64, {t += 1'333'333, frames - 960, true});
            frames += 64;
        }
    });
    const auto hammer = [&player](const std::vector<std::uint8_t>& image, int times) {
        for (int i = 0; i < times; ++i) {
            player.Play(reinterpret_cast<const char*>(image.data()),
                        SND_ASYNC | SND_MEMORY | SND_LOOP);
            if (i % 7 == 3)
                player.Play(nullptr, SND_ASYNC);
        }
    };
    std::thread gui(hammer, std::cref(a), 20000);
    std::thread timer(hammer, std::cref(b), 20000);
    gui.join();
    timer.join();
    player.Play(reinterpret_cast<const char*>(b.data()), SND_ASYNC | SND_MEMORY | SND_LOOP);
    std::thread last(hammer, std::cref(a), 1);  // the very last one, from another thread
    last.join();
    done.store(true);
    callback.join();

    std::vector<float> out(2 * 64);
    player.Render(out.data(), 64, {});
    EXPECT_FLOAT_EQ(out[0], std::round(0.25f * 32767) / 32768.0f);
    platform::UnregisterSoundImage(a.data());
    platform::UnregisterSoundImage(b.data());
}

TEST(ConcurrentRequests, PlacedRequestsRaceNeitherTheStreamClockNorTheRuns) {
    const auto click = test_waves::AccentWave();
    platform::RegisterSoundImage(click.data(), click.size());
    CountingClock clock;
    PlayerEngine player(PlayerOptions{}, clock);
    std::atomic<bool> done{false};
    std::thread callback([&] {
        std::vector<float> out(2 * 240);
        std::int64_t t = 0;
        std::int64_t frames = 0;
        while (!done.load()) {
            player.Render(out.data(), 240, {t += 5'000'000, frames - 1440, true});
            frames += 240;
        }
    });
    std::thread gui([&] {
        for (int i = 0; i < 5000; ++i)
            player.Play(reinterpret_cast<const char*>(click.data()), SND_ASYNC | SND_MEMORY);
    });
    std::thread timer([&] {
        for (std::uint64_t k = 1; k <= 5000; ++k) {
            const platform::player::TickContext tick{7, 0, 600, k};
            player.DueNs(tick, clock.NowNs());
            const platform::player::TickScope scope(tick);
            player.Play(reinterpret_cast<const char*>(click.data()), SND_ASYNC | SND_MEMORY);
        }
    });
    gui.join();
    timer.join();
    done.store(true);
    callback.join();
    platform::UnregisterSoundImage(click.data());
}

}  // namespace
