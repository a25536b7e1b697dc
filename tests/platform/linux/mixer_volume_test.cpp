// The slider's volume in the server's terms and back, and the program's name in the mixer as the
// desktop entry gives it.
#include "platform/linux/mixer_volume.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/linux/pulse_output.h"

namespace {

using platform::linux_backend::FromChannel;
using platform::linux_backend::FromMixer;
using platform::linux_backend::kMixerFull;
using platform::linux_backend::SameChannel;
using platform::linux_backend::StreamIdentity;
using platform::linux_backend::ToChannel;
using platform::linux_backend::ToMixer;

TEST(MixerVolume, TheEndsMeetAndTheAmplitudeStaysProportional) {
    EXPECT_EQ(ToMixer(0), 0u);
    EXPECT_EQ(ToMixer(65535), kMixerFull);
    EXPECT_EQ(FromMixer(0), 0);
    EXPECT_EQ(FromMixer(kMixerFull), 65535);
    EXPECT_EQ(FromMixer(kMixerFull * 3 / 2), 65535);  // a mixer's 150 % is full here
    // Half the amplitude is the mixer's 79 %, an eighth its 50 %.
    EXPECT_NEAR(ToMixer(32768) / double{kMixerFull}, 0.7937, 0.0001);
    EXPECT_EQ(FromMixer(kMixerFull / 2), 8192);
}

TEST(MixerVolume, EverySliderValueGoesThereAndBackWithinAStepAndInOrder) {
    std::uint32_t last = 0;
    for (unsigned slider = 0; slider <= 65535; ++slider) {
        const std::uint32_t mixer = ToMixer(static_cast<std::uint16_t>(slider));
        ASSERT_GE(mixer, last) << slider;
        last = mixer;
        const int back = FromMixer(mixer);
        // A server step near full is three slider steps; near silence the slider is coarser.
        ASSERT_NEAR(back, static_cast<int>(slider), 2) << slider;
    }
    // A server value on its way to the slider and back is stable after one round.
    for (std::uint32_t mixer = 0; mixer <= kMixerFull; mixer += 7) {
        const std::uint32_t once = ToMixer(FromMixer(mixer));
        ASSERT_EQ(ToMixer(FromMixer(once)), once) << mixer;
    }
}

TEST(MixerVolume, PipeWiresChannelVolumeIsTheSameServerVolumeAsTheMixers) {
    // pipewire-pulse shows a channel volume to the mixers as its cube root: the slider set
    // through either output reads the same percentage in the mixer.
    for (unsigned slider = 0; slider <= 65535; slider += 97) {
        const auto s = static_cast<std::uint16_t>(slider);
        const double shown = std::cbrt(static_cast<double>(ToChannel(s))) * kMixerFull;
        ASSERT_NEAR(shown, static_cast<double>(ToMixer(s)), 1.0) << slider;
        ASSERT_EQ(FromChannel(ToChannel(s)), s) << slider;
    }
    // The mixer's 50 % is an eighth of the amplitude; above full is full; no volume is silence.
    EXPECT_EQ(FromChannel(0.125f), 8192);
    EXPECT_EQ(FromChannel(1.5f), 65535);
    EXPECT_EQ(FromChannel(-1.0f), 0);
    EXPECT_EQ(FromChannel(std::nanf("")), 0);
    // What comes back from the server two steps apart is ours; three steps is a mixer's change.
    EXPECT_TRUE(SameChannel(ToChannel(30000), ToChannel(30002)));
    EXPECT_FALSE(SameChannel(ToChannel(30000), ToChannel(30003)));
}

TEST(StreamIdentity, NamesTheProgramAsItsDesktopEntryDoes) {
    std::ifstream file(std::string(SOURCE_DIR) + "/res/linux/" + StreamIdentity::kId +
                       ".desktop.in");
    ASSERT_TRUE(file) << "the desktop entry is named after the stream's application id";
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find(std::string("\nName=") + StreamIdentity::kName + "\n"),
              std::string::npos);
    EXPECT_NE(text.str().find(std::string("\nIcon=") + StreamIdentity::kIcon + "\n"),
              std::string::npos);
}

}  // namespace
