// The wave-out handle over an output's volume: what reaches the output, and the mixer's news.
#include "platform/player/volume_wave_out.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform::player::VolumeWaveOut;

class RecordingVolume : public platform::player::OutputVolume {
  public:
    std::uint32_t Volume() const override { return volume; }
    void SetVolume(std::uint32_t v) override {
        volume = v;
        sets.push_back(v);
    }
    std::uint32_t volume = 0xFFFFFFFFu;
    std::vector<std::uint32_t> sets;
};

struct Opened {
    RecordingVolume output;
    VolumeWaveOut device{output};
    HWAVEOUT handle = nullptr;
    Opened() { device.Open(&handle, WAVE_MAPPER, nullptr); }
};

TEST(VolumeWaveOut, APaintsUnchangedValueDoesNotUndoTheMixersChange) {
    Opened o;
    DWORD read = 0;
    ASSERT_EQ(o.device.GetVolume(o.handle, &read), MMSYSERR_NOERROR);
    o.device.SetVolume(o.handle, 0x80008000u);  // the first paint
    o.output.volume = 0x20002000u;              // the mixer, before the slider has heard of it
    o.device.SetVolume(o.handle, 0x80008000u);  // a repaint
    o.device.SetVolume(o.handle, 0x80008000u);
    EXPECT_EQ(o.output.sets, (std::vector<std::uint32_t>{0x80008000u}));
    EXPECT_EQ(o.output.volume, 0x20002000u);
    // A move of the slider is the user's answer and wins.
    o.device.SetVolume(o.handle, 0x70007000u);
    EXPECT_EQ(o.output.volume, 0x70007000u);
}

TEST(VolumeWaveOut, AfterAReadTheNextSetIsAppliedEvenWhenUnchanged) {
    Opened o;
    o.device.SetVolume(o.handle, 0x40004000u);
    o.output.volume = 0x10004000u;  // the mixer moved the left channel only
    DWORD read = 0;
    o.device.GetVolume(o.handle, &read);
    EXPECT_EQ(read, 0x10004000u);
    o.device.SetVolume(o.handle, 0x40004000u);  // the slider sets both to the right channel
    EXPECT_EQ(o.output.sets, (std::vector<std::uint32_t>{0x40004000u, 0x40004000u}));
}

TEST(VolumeWaveOut, TheWatcherHearsOfOutsideChangesUntilTheHandleCloses) {
    Opened o;
    int heard = 0;
    o.device.VolumeChangedOutside();  // nobody watches yet
    ASSERT_EQ(o.device.WatchVolume(
                  o.handle, [](void* n) { ++*static_cast<int*>(n); }, &heard),
              MMSYSERR_NOERROR);
    o.device.VolumeChangedOutside();
    EXPECT_EQ(heard, 1);
    o.device.Close(o.handle);
    o.device.VolumeChangedOutside();
    EXPECT_EQ(heard, 1);
}

TEST(VolumeWaveOut, CallsOnAClosedOrForeignHandleFailHarmlessly) {
    Opened o;
    o.device.Close(o.handle);
    DWORD read = 7;
    EXPECT_EQ(o.device.GetVolume(o.handle, &read), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(read, 7u);
    EXPECT_EQ(o.device.SetVolume(o.handle, 0), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(o.device.Reset(o.handle), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(o.device.Close(o.handle), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(o.device.WatchVolume(o.handle, nullptr, nullptr), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(o.device.SetVolume(nullptr, 0), MMSYSERR_INVALHANDLE);
    EXPECT_TRUE(o.output.sets.empty());
    EXPECT_EQ(o.device.Open(nullptr, WAVE_MAPPER, nullptr), MMSYSERR_ERROR);
}

}  // namespace
