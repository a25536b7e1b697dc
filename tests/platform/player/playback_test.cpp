// What a request does to the sound: placement right after what the server has queued, stop,
// replace, loop, restart of a run, conversion of rate and channels, volume, refusal of unreadable
// images.
#include <gtest/gtest.h>

#include "tests/platform/player/beat_rig.h"

namespace {

using beat_rig::g_accent;
using beat_rig::g_regular;
using beat_rig::Rig;
using platform::player::OfflineRenderer;
using platform::player::PlayerOptions;
using platform::player::StreamModel;

const char* Image(const std::vector<std::uint8_t>& bytes) {
    return reinterpret_cast<const char*>(bytes.data());
}

std::int64_t FirstSoundFrom(const std::vector<float>& audio, std::int64_t from) {
    for (auto i = static_cast<std::size_t>(from); i < audio.size(); ++i)
        if (audio[i] != 0.0f)
            return static_cast<std::int64_t>(i);
    return -1;
}

TEST(Playback, ARequestSoundsRightAfterWhatIsQueuedAndAStopEndsIt) {
    Rig rig({}, {}, true);
    const double heard = rig.renderer.HeardAt(rig.renderer.NowNs());
    PlaySoundA(Image(g_accent), nullptr, SND_ASYNC | SND_MEMORY);
    rig.renderer.Advance(25'000'000);
    PlaySoundA(nullptr, nullptr, SND_ASYNC);
    rig.renderer.Advance(200'000'000);
    const auto& audio = rig.renderer.Audio();
    // Heard right after the server's 150 ms of queued frames: in the next burst that it asks for.
    const std::int64_t start = FirstSoundFrom(audio, 0);
    ASSERT_GT(start, 0);
    EXPECT_GE(static_cast<double>(start) - heard, 7200 - 960);
    EXPECT_LE(static_cast<double>(start) - heard, 7200);
    EXPECT_EQ(start % 960, 0);
    // The stop ends the accent (30 ms) at the start of a later burst, before its end.
    std::int64_t end = start;
    while (audio[static_cast<std::size_t>(end)] != 0.0f)
        ++end;
    EXPECT_EQ(end % 960, 0);
    EXPECT_LT(end, start + 1440);
    EXPECT_EQ(FirstSoundFrom(audio, end), -1);
}

TEST(Playback, ANewRequestCutsTheSoundThatPlays) {
    Rig rig({}, {}, true);
    PlaySoundA(Image(g_accent), nullptr, SND_ASYNC | SND_MEMORY);
    rig.renderer.Advance(25'000'000);
    PlaySoundA(Image(g_regular), nullptr, SND_ASYNC | SND_MEMORY);
    rig.renderer.Advance(200'000'000);
    const auto& audio = rig.renderer.Audio();
    const std::int64_t start = FirstSoundFrom(audio, 0);
    ASSERT_GT(start, 0);
    // The regular click (level 0.45) takes over at a burst within the accent, plays whole
    // (20 ms) and then silence.
    std::int64_t cut = start + 960;
    while (cut < start + 1440 && std::abs(audio[static_cast<std::size_t>(cut)]) > 0.5f * 0.45f &&
           std::abs(std::abs(audio[static_cast<std::size_t>(cut)]) - 0.45f) > 1e-3f)
        cut += 960;
    EXPECT_NEAR(std::abs(audio[static_cast<std::size_t>(cut)]), 0.45f, 1e-3f);
    EXPECT_NE(audio[static_cast<std::size_t>(cut + 959)], 0.0f);
    EXPECT_EQ(FirstSoundFrom(audio, cut + 960), -1);
}

TEST(Playback, TheToneLoopsWithoutASeamUntilStopped) {
    const auto tone = test_waves::Tone(440, 11);  // 11 whole cycles, 1200 frames
    const auto image = test_waves::MakeWave(tone);
    platform::RegisterSoundImage(image.data(), image.size());
    Rig rig({}, {}, true);
    PlaySoundA(Image(image), nullptr, SND_ASYNC | SND_MEMORY | SND_LOOP);
    rig.renderer.Advance(2'000'000'000);
    PlaySoundA(nullptr, nullptr, SND_ASYNC);
    rig.renderer.Advance(200'000'000);
    const auto& audio = rig.renderer.Audio();
    const std::int64_t start = FirstSoundFrom(audio, 0) - 1;  // the sine starts at 0
    ASSERT_GT(start, 0);
    const std::int64_t length = 2000 * 48;
    for (std::int64_t i = 0; i < length; ++i) {
        SCOPED_TRACE(testing::Message() << "frame " << i);
        const float expected =
            std::round(tone[static_cast<std::size_t>(i) % tone.size()] * 32767) / 32768.0f;
        ASSERT_FLOAT_EQ(audio[static_cast<std::size_t>(start + i)], expected) << "frame " << i;
    }
    EXPECT_EQ(FirstSoundFrom(audio, start + length), -1);
    platform::UnregisterSoundImage(image.data());
}

TEST(Playback, ARestartedTimerCountsFromItsOwnStart) {
    Rig rig;
    const UINT first = rig.On(600);
    rig.renderer.Advance(1'000'000'000);  // accent, one tick at 600 ms
    const std::int64_t restartNs = rig.renderer.NowNs();
    timeEndPeriod(1);
    timeKillEvent(first);
    timeBeginPeriod(1);
    const UINT second = timeSetEvent(500, 1, beat_rig::BeatTick, 0, TIME_PERIODIC);
    rig.renderer.Advance(2'100'000'000);
    rig.Off(second);
    rig.renderer.Advance(100'000'000);
    const auto& onsets = rig.renderer.Onsets();
    ASSERT_EQ(onsets.size(), 2u + 4u);
    // Killed at 1000 ms: the new run's ticks fall 500 ms apart from the restart on.
    const std::int64_t restartFrame = (restartNs / 1'000'000 + 150 + 3) * 48;
    for (std::size_t k = 1; k <= 4; ++k) {
        SCOPED_TRACE(testing::Message() << "tick " << k);
        EXPECT_EQ(onsets[1 + k].frame, restartFrame + static_cast<std::int64_t>(k) * 500 * 48);
    }
}

TEST(Playback, ConvertsRateAndChannelsOnTheFly) {
    // 24 kHz, 8-bit, stereo: left a ramp up, right silent.
    std::vector<float> samples;
    for (int i = 0; i < 100; ++i) {
        samples.push_back(static_cast<float>(i + 1) / 128.0f);
        samples.push_back(0.0f);
    }
    const auto image = test_waves::MakeWave(samples, {24000, 2, 8});
    platform::RegisterSoundImage(image.data(), image.size());
    PlayerOptions options;
    options.channels = 2;
    OfflineRenderer renderer(options, StreamModel{}, true);
    renderer.Player().Play(Image(image), SND_ASYNC | SND_MEMORY);
    renderer.Advance(100'000'000);
    const auto& audio = renderer.Audio();
    const std::int64_t start = FirstSoundFrom(audio, 0);
    ASSERT_GE(start, 0);
    // Each source frame becomes two output frames, the second halfway to the next sample.
    const auto at = [&](std::int64_t i) { return audio[static_cast<std::size_t>(start + i)]; };
    EXPECT_FLOAT_EQ(at(0), 1.0f / 128.0f);
    EXPECT_FLOAT_EQ(at(1), 1.5f / 128.0f);
    EXPECT_FLOAT_EQ(at(2), 2.0f / 128.0f);
    EXPECT_NE(at(197), 0.0f);
    EXPECT_EQ(FirstSoundFrom(audio, start + 200), -1);
    platform::UnregisterSoundImage(image.data());
}

TEST(Playback, VolumeScalesEachChannel) {
    PlayerOptions options;
    OfflineRenderer renderer(options, StreamModel{}, false);
    const auto image = test_waves::MakeWave(std::vector<float>(48, 0.5f));
    platform::RegisterSoundImage(image.data(), image.size());
    renderer.Player().SetVolume(0x4000FFFFu);  // left full, right a quarter
    renderer.Player().Play(Image(image), SND_ASYNC | SND_MEMORY);
    std::vector<float> out(2 * 240);
    renderer.Player().Render(out.data(), 240, {});
    EXPECT_NEAR(out[0], 0.5f, 1e-4f);
    EXPECT_NEAR(out[1], 0.5f * 0x4000 / 65535.0f, 1e-4f);
    platform::UnregisterSoundImage(image.data());
}

TEST(Playback, UnreadableRequestsAreRefusedAndSoundNothing) {
    PlayerOptions options;
    OfflineRenderer renderer(options, StreamModel{}, true);
    auto& player = renderer.Player();
    const std::vector<std::uint8_t> unregistered = test_waves::AccentWave();
    EXPECT_EQ(player.Play(Image(unregistered), SND_ASYNC | SND_MEMORY), FALSE);
    const std::vector<std::uint8_t> garbage(64, 0x55);
    platform::RegisterSoundImage(garbage.data(), garbage.size());
    EXPECT_EQ(player.Play(Image(garbage), SND_ASYNC | SND_MEMORY), FALSE);
    platform::RegisterSoundImage(g_accent.data(), g_accent.size());
    EXPECT_EQ(player.Play(Image(g_accent), SND_ASYNC), FALSE);  // only from memory
    EXPECT_EQ(player.Play(nullptr, SND_ASYNC), TRUE);
    renderer.Advance(500'000'000);
    EXPECT_TRUE(renderer.Onsets().empty());
    platform::UnregisterSoundImage(garbage.data());
}

}  // namespace

// Where the server lets written frames be written over (both sound servers do), the 150 ms queue
// no longer delays a start or a stop, and a fast run's first ticks land on their frames even
// though they are due before the queue's end.
TEST(Playback, WritingOverTheQueueStartsAndStopsAtOnce) {
    StreamModel stream;
    stream.rewritableFrames = 240;  // 5 ms
    Rig rig({}, stream, true);
    const double heard = rig.renderer.HeardAt(rig.renderer.NowNs());
    PlaySoundA(Image(g_accent), nullptr, SND_ASYNC | SND_MEMORY);
    rig.renderer.Advance(10'000'000);
    PlaySoundA(nullptr, nullptr, SND_ASYNC);
    const double heardAtStop = rig.renderer.HeardAt(rig.renderer.NowNs());
    rig.renderer.Advance(200'000'000);
    const auto& audio = rig.renderer.Audio();
    const std::int64_t start = FirstSoundFrom(audio, 0);
    ASSERT_GT(start, 0);
    // 5 ms beyond the heard frame, and the 3 ms that a request from the GUI thread keeps.
    EXPECT_GE(static_cast<double>(start) - heard, 240);
    EXPECT_LE(static_cast<double>(start) - heard, 240 + 144 + 1);
    std::int64_t end = start;
    while (audio[static_cast<std::size_t>(end)] != 0.0f)
        ++end;
    EXPECT_LE(static_cast<double>(end) - heardAtStop, 240 + 144 + 1);
    EXPECT_EQ(FirstSoundFrom(audio, end), -1);
    EXPECT_EQ(rig.renderer.Player().LateRequests(), 0);
}

// The server's request can reach the output's thread before the wake-up does: the callback then
// takes the request and places it behind the queue, and the write over the queue must move it.
TEST(Playback, AStartStaysQuickWhenTheServersRequestComesBeforeTheWakeUp) {
    StreamModel stream;
    stream.rewritableFrames = 240;
    stream.requestBeforeWake = true;
    {
        Rig rig({}, stream, true);
        const double heard = rig.renderer.HeardAt(rig.renderer.NowNs());
        PlaySoundA(Image(g_accent), nullptr, SND_ASYNC | SND_MEMORY);
        rig.renderer.Advance(200'000'000);
        const std::int64_t start = FirstSoundFrom(rig.renderer.Audio(), 0);
        ASSERT_GT(start, 0);
        // 5 ms beyond the heard frame and the 3 ms that a request from the GUI thread keeps, not
        // behind the 150 ms queue.
        EXPECT_LE(static_cast<double>(start) - heard, 240 + 144 + 1);
    }
    Rig rig({}, stream);
    const UINT id = rig.On(100);
    rig.renderer.Advance(1'000'000'000);
    rig.Off(id);
    rig.renderer.Advance(200'000'000);
    const auto& onsets = rig.renderer.Onsets();
    ASSERT_GE(onsets.size(), 7u);  // a second, less the queue that the stop writes over
    for (std::size_t k = 1; k < onsets.size(); ++k) {
        SCOPED_TRACE(testing::Message() << "interval " << k);
        EXPECT_EQ(onsets[k].frame - onsets[k - 1].frame, 100 * 48);
    }
}

TEST(Playback, AFastRunWritesItsFirstTicksOverTheQueue) {
    StreamModel stream;
    stream.rewritableFrames = 240;
    Rig rig({}, stream);
    const UINT id = rig.On(60);  // shorter than the 150 ms queue and the timer's lead
    rig.renderer.Advance(1'000'000'000);
    rig.Off(id);
    rig.renderer.Advance(200'000'000);
    const auto& onsets = rig.renderer.Onsets();
    ASSERT_GE(onsets.size(), 15u);
    for (std::size_t k = 1; k < onsets.size(); ++k) {
        SCOPED_TRACE(testing::Message() << "interval " << k);
        EXPECT_EQ(onsets[k].frame - onsets[k - 1].frame, 60 * 48);
    }
    EXPECT_EQ(rig.renderer.Player().LateRequests(), 0);
}
