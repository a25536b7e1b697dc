// The click as the user hears it: accents, regular beats and intervals in virtual time.
#include <gtest/gtest.h>

#include "audio/beat_clock.h"
#include "res/resource_ids.h"
#include "support/app_harness.h"
#include "ui/cwnd.h"

using test_support::AppHarness;
using ui::headless::Driver;
using Clicks = std::vector<std::string>;

namespace {

TEST(BeatClock, ThreeFourSoundsAccentThenTwoRegularBeatsOneIntervalApart) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.Click(IDC_SIGNATURE_3_4);
        d.Click(IDC_ONOFF);
        app.Advance(3000);
        d.Click(IDC_ONOFF);
        app.Advance(3000);
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(app.Clicks(), (Clicks{"0:Metronome1", "600:Metronome2", "1200:Metronome2",
                                    "1800:Metronome1", "2400:Metronome2", "3000:Metronome2"}));
    EXPECT_EQ(
        app.Calls("time"),
        (Clicks{"timeBeginPeriod(1)", "timeSetEvent(600,1,TIME_PERIODIC) -> 1", "timeEndPeriod(1)",
                "timeKillEvent(1)", "timeEndPeriod(1)", "timeKillEvent(1)"}));
    // On stops what sounds first; Off stops the last click.
    const auto sounds = app.Sounds();
    EXPECT_EQ(sounds.front().name, "NULL");
    EXPECT_EQ(sounds.back().name, "NULL");
}

TEST(BeatClock, OneBeatMeasuresSoundOnlyAccents) {
    for (int id : {IDC_SIGNATURE_1_4, IDC_SIGNATURE_1_8}) {
        SCOPED_TRACE(testing::Message() << "signature radio " << id);
        AppHarness app;
        app.Run([&](Driver& d) {
            d.Click(id);
            d.Click(IDC_ONOFF);
            app.Advance(1200);
            d.Key(VK_ESCAPE);
        });
        const Clicks expected = id == IDC_SIGNATURE_1_4
                                    ? Clicks{"0:Metronome1", "600:Metronome1", "1200:Metronome1"}
                                    : Clicks{"0:Metronome1", "300:Metronome1", "600:Metronome1",
                                             "900:Metronome1", "1200:Metronome1"};
        EXPECT_EQ(app.Clicks(), expected) << id;
    }
}

TEST(BeatClock, ChangingFamilyWhileClickingRestartsAtTheOtherIntervalAndKeepsTheCount) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.Click(IDC_SIGNATURE_4_4);
        d.Click(IDC_ONOFF);
        app.Advance(1300);  // beats 1 and 2 have sounded; the next would be beat 3
        d.Click(IDC_SIGNATURE_2_8);
        app.Advance(900);
        d.Click(IDC_SIGNATURE_2_4);
        app.Advance(1200);
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(app.Calls("timeSetEvent"), (Clicks{"timeSetEvent(600,1,TIME_PERIODIC) -> 1",
                                                 "timeSetEvent(300,1,TIME_PERIODIC) -> 2",
                                                 "timeSetEvent(600,1,TIME_PERIODIC) -> 3"}));
    // Beat 3 lies beyond a measure of two, so the first tick of the new timer wraps to the accent.
    EXPECT_EQ(app.Clicks(),
              (Clicks{"0:Metronome1", "600:Metronome2", "1200:Metronome2", "1600:Metronome1",
                      "1900:Metronome2", "2200:Metronome1", "2800:Metronome2", "3400:Metronome1"}));
}

TEST(BeatClock, ChangesWithinAFamilyOrOfTheSoundTakeEffectAtTheNextTickWithoutRestart) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.Click(IDC_SIGNATURE_3_4);
        d.Click(IDC_ONOFF);
        app.Advance(700);
        d.Click(IDC_SIGNATURE_4_4);
        d.Click(IDC_SOUND_RIM);
        app.Advance(1900);
        d.Click(IDC_SOUND_DIGITAL);
        app.Advance(600);
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(app.Calls("timeSetEvent").size(), 1u);
    EXPECT_EQ(app.Clicks(), (Clicks{"0:Metronome1", "600:Metronome2", "1200:Rim2", "1800:Rim2",
                                    "2400:Rim1", "3000:Click2"}));
}

TEST(BeatClock, SignatureChangesWhileStoppedRestartNothingAndTheNextOnUsesTheirFamily) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.Click(IDC_SIGNATURE_3_8);
        d.Click(IDC_SIGNATURE_6_4);
        d.Click(IDC_SIGNATURE_5_8);
        EXPECT_TRUE(app.Calls("time").empty());
        d.Click(IDC_ONOFF);
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(app.Calls("timeSetEvent"), (Clicks{"timeSetEvent(300,1,TIME_PERIODIC) -> 1"}));
}

TEST(BeatClock, TheTimerCallbackFoldsEighthsAndWrapsTheCounter) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.Click(IDC_SIGNATURE_3_8);
        EXPECT_EQ(g_nSignature.load(), 8);
        d.Click(IDC_ONOFF);
        app.Advance(300);
        EXPECT_EQ(g_nSignature.load(), 2);  // folded in place by the first tick
        EXPECT_EQ(d.SelectedRadio(IDC_SIGNATURE_1_4), IDC_SIGNATURE_3_8);
        // A push shows the x/8 radio whether the index is folded or not.
        static_cast<CWnd&>(d.Window().Object()).UpdateData(FALSE);
        EXPECT_EQ(d.SelectedRadio(IDC_SIGNATURE_1_4), IDC_SIGNATURE_3_8);
        EXPECT_EQ(g_nSignature.load(), 2);
        d.Key(VK_ESCAPE);
    });
}

TEST(BeatClock, AnUnknownSoundKindSilencesTheClockAndFreezesTheCount) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.Click(IDC_SIGNATURE_4_4);
        g_nSoundKind = 7;
        d.Click(IDC_ONOFF);
        app.Advance(1800);
        EXPECT_EQ(g_nBeatIndex.load(), 1);
        d.Key(VK_ESCAPE);
    });
    EXPECT_TRUE(app.Clicks().empty());
}

}  // namespace
