// The real timer thread and player through a private PulseAudio null sink: the recorded clicks
// are evenly spaced to a frame, accents fall on the first beat of each measure, and the analyser
// reads its own tool's format.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "onset_analysis.h"
#include "platform/linux/linux_services.h"
#include "platform/mmsystem.h"
#include "platform/sound_images.h"
#include "support/pulse_sink.h"
#include "support/test_waves.h"

namespace {

using namespace std::chrono_literals;

const auto g_accent = test_waves::AccentWave(44100);  // converted to the sink's 48 kHz
const auto g_regular = test_waves::RegularWave(44100);
std::atomic<int> g_beat{0};

void Beat(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
    int b = g_beat.load();
    if (b > 3)
        b = 0;
    const auto& sample = b == 0 ? g_accent : g_regular;
    PlaySoundA(reinterpret_cast<const char*>(sample.data()), nullptr, SND_ASYNC | SND_MEMORY);
    g_beat.store(b + 1);
}

TEST(ClickCapture, ClicksEvenlySpacedWithAccentsThroughASoundServer) {
    if (!PulseSink::Available())
        GTEST_SKIP() << "no pulseaudio here";
    PulseSink sink(PULSE_NULL_SINK);
    ASSERT_TRUE(sink.Started());
    ASSERT_TRUE(sink.Record("capture.wav"));
    {
        platform::linux_backend::LinuxServices services;
        ASSERT_TRUE(services.HasOutput());
        EXPECT_EQ(services.Output().ApiName(), "pulse");
        platform::Install(services.Get());
        platform::RegisterSoundImage(g_accent.data(), g_accent.size());
        platform::RegisterSoundImage(g_regular.data(), g_regular.size());
        std::this_thread::sleep_for(1s);

        // On at 200 BPM in 4/4, as the dialog does it, for six seconds.
        PlaySoundA(nullptr, nullptr, SND_ASYNC);
        PlaySoundA(reinterpret_cast<const char*>(g_accent.data()), nullptr, SND_ASYNC | SND_MEMORY);
        g_beat = 1;
        timeBeginPeriod(1);
        const UINT id = timeSetEvent(300, 1, Beat, 0, TIME_PERIODIC);
        std::this_thread::sleep_for(6100ms);
        timeEndPeriod(1);
        timeKillEvent(id);
        EXPECT_EQ(services.Player().LateRequests(), 0);
        EXPECT_EQ(services.Player().Reanchors(), 0);
        PlaySoundA(nullptr, nullptr, SND_ASYNC);
        std::this_thread::sleep_for(600ms);
        platform::Install({});
    }
    platform::UnregisterSoundImage(g_accent.data());
    platform::UnregisterSoundImage(g_regular.data());
    sink.Stop();

    const std::string capture = sink.Dir() + "/capture.wav";
    if (const char* keep = std::getenv("METRONOME_KEEP_CAPTURE"))
        std::filesystem::copy_file(capture, keep,
                                   std::filesystem::copy_options::overwrite_existing);
    const auto rec = onset_analysis::ReadWav(capture);
    ASSERT_TRUE(rec);
    ASSERT_EQ(rec->sampleRate, 48000u);
    const auto onsets = onset_analysis::FindOnsets(*rec);
    ASSERT_EQ(onsets.size(), 21u);
    for (std::size_t i = 0; i < onsets.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "click " << i);
        EXPECT_EQ(onsets[i].accent, i % 4 == 0) << "click " << i;
    }
    // Every interval the same number of the stream's frames, 300 ms at its nominal 48 kHz, as the
    // recorder heard it from before the first click.
    int uneven = 0;
    std::string intervals;
    for (std::size_t i = 1; i < onsets.size(); ++i) {
        const std::int64_t interval = onsets[i].frame - onsets[i - 1].frame;
        uneven += std::abs(interval - 300 * 48) > 1;
        intervals += std::to_string(interval) + " ";
    }
    EXPECT_EQ(uneven, 0) << "intervals " << intervals;
}

}  // namespace
