// The volume slider and the desktop's mixer: a change made in the mixer moves the slider, which
// then sets both channels to it, and nothing else of the dialog changes.
#include <gtest/gtest.h>

#include "app/metronome_dlg.h"
#include "res/resource_ids.h"
#include "support/app_harness.h"

using test_support::AppHarness;
using ui::headless::Driver;

namespace {

TEST(OutputVolume, TheMixersChangeMovesTheSliderToItsRightChannel) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.DragSlider(IDC_VOLUME, 40000);
        EXPECT_EQ(app.fake.waveOut.Volume(), 40000u * 65537u);
        app.fake.waveOut.SetVolumeFromMixer(0x30001000);  // right 0x3000, left 0x1000
        d.Idle();
        EXPECT_EQ(d.SliderPos(IDC_VOLUME), 0x3000);
        // The slider's paint sets both channels to what it shows, as its first paint does.
        EXPECT_EQ(app.fake.waveOut.Volume(), 0x30003000u);
        d.Key(VK_ESCAPE);
    });
}

TEST(OutputVolume, TheMixersChangeLeavesTheClickAndTheOtherControlsAlone) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.ChooseRow(IDC_TEMPO_LIST, u"120 Moderato/Allegro");
        d.Click(IDC_SIGNATURE_3_4);
        d.Click(IDC_ONOFF);
        d.Focus(IDC_COMMENTS);
        d.Type(u"scales");
        const auto timersBefore = app.Calls("time").size();
        const auto soundsBefore = app.Sounds().size();
        app.fake.waveOut.SetVolumeFromMixer(0);
        d.Idle();
        EXPECT_EQ(d.SliderPos(IDC_VOLUME), 0);
        EXPECT_EQ(app.Calls("time").size(), timersBefore);  // the timer runs on untouched
        EXPECT_EQ(app.Sounds().size(), soundsBefore);
        EXPECT_EQ(d.Text(IDC_TEMPO_LIST), CString(u"120 Moderato/Allegro"));
        EXPECT_EQ(d.SelectedRadio(IDC_SIGNATURE_1_4), IDC_SIGNATURE_3_4);
        EXPECT_EQ(d.FocusId(), IDC_COMMENTS);
        EXPECT_NE(d.Text(IDC_COMMENTS).ToUtf8().find("scales"), std::string::npos);
        app.Advance(1000);
        EXPECT_GT(app.Sounds().size(), soundsBefore);
        d.Key(VK_ESCAPE);
    });
}

TEST(OutputVolume, NoNewsComesAfterTheDeviceIsClosed) {
    AppHarness app;
    app.Run([&](Driver& d) { d.Key(VK_ESCAPE); });
    const auto before = app.Calls("waveOut").size();
    app.fake.waveOut.SetVolumeFromMixer(0x12341234);  // the dialog is gone: nothing may reach it
    EXPECT_EQ(app.Calls("waveOut").size(), before);
}

}  // namespace
