// Choosing a row of the tempo list, stopped and while clicking, and the A4 tone row.
#include <gtest/gtest.h>

#include "app/metronome_dlg.h"
#include "res/resource_ids.h"
#include "support/app_harness.h"

using test_support::AppHarness;
using ui::headless::Driver;
using Texts = std::vector<std::string>;

namespace {

TEST(TempoSelection, ARowWhileClickingRestartsAtItsPeriodWithTheAccent) {
    const struct {
        const char16_t* row;
        int signature;
        int periodMs;
        unsigned intervalMs;
    } cases[] = {
        {u"69 Adagio", IDC_SIGNATURE_3_4, 870, 870},  // rounded, not 869
        {u"208 Prestissimo", IDC_SIGNATURE_3_8, 288, 144},
        {u"192 Presto", IDC_SIGNATURE_5_8, 313, 156},  // 313 / 2 truncated
        {u"40 Largo", IDC_SIGNATURE_2_4, 1500, 1500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.row).ToUtf8());
        AppHarness app;
        app.Run([&](Driver& d) {
            d.Click(c.signature);
            d.Click(IDC_ONOFF);
            app.Advance(1000);  // the counter stands beyond the accent
            d.ChooseRow(IDC_TEMPO_LIST, c.row);
            EXPECT_EQ(test_support::MainDialog(d).m_nBeatPeriodMs, c.periodMs);
            app.Advance(c.intervalMs);
            d.Key(VK_ESCAPE);
        });
        const Texts sets = app.Calls("timeSetEvent");
        ASSERT_EQ(sets.size(), 2u);
        EXPECT_EQ(sets[1],
                  "timeSetEvent(" + std::to_string(c.intervalMs) + ",1,TIME_PERIODIC) -> 2");
        EXPECT_EQ(app.Clicks().back(), std::to_string(1000 + c.intervalMs) + ":Metronome1");
    }
}

TEST(TempoSelection, ARowWhileStoppedOnlySetsThePeriod) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.ChooseRow(IDC_TEMPO_LIST, u"69 Adagio");
        EXPECT_EQ(test_support::MainDialog(d).m_nBeatPeriodMs, 870);
        d.ChooseRow(IDC_TEMPO_LIST, u"100 Andante");
        EXPECT_EQ(test_support::MainDialog(d).m_nBeatPeriodMs, 600);
        EXPECT_FALSE(test_support::MainDialog(d).m_bRunning);
        EXPECT_TRUE(app.Calls("time").empty());
        EXPECT_TRUE(app.Sounds().empty());
        d.ChooseRow(IDC_TEMPO_LIST, u"69 Adagio");
        d.Click(IDC_ONOFF);
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(app.Calls("timeSetEvent"), (Texts{"timeSetEvent(870,1,TIME_PERIODIC) -> 1"}));
}

TEST(TempoSelection, TheToneRowWhileStoppedDisablesTapAndFreeEntryAndOnLoopsTheTone) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.ChooseRow(IDC_TEMPO_LIST, u"A4 TONE (440 Hz)");
        EXPECT_EQ(test_support::MainDialog(d).m_nBeatPeriodMs, -1);
        EXPECT_FALSE(d.Enabled(IDC_TAP));
        EXPECT_FALSE(d.Enabled(IDC_NO_FIXED_SCALE));
        EXPECT_TRUE(app.Sounds().empty());
        app.Advance(3000);
        d.Click(IDC_TAP);  // disabled: no tap reaches the tone marker
        app.Advance(500);
        d.Click(IDC_TAP);
        EXPECT_EQ(test_support::MainDialog(d).m_nBeatPeriodMs, -1);

        d.Click(IDC_ONOFF);
        app.Advance(2000);
        d.Click(IDC_ONOFF);
        d.ChooseRow(IDC_TEMPO_LIST, u"100 Andante");
        EXPECT_TRUE(d.Enabled(IDC_TAP));
        EXPECT_TRUE(d.Enabled(IDC_NO_FIXED_SCALE));
        d.Key(VK_ESCAPE);
    });
    const auto sounds = app.Sounds();
    ASSERT_EQ(sounds.size(), 3u);
    EXPECT_EQ(sounds[1].name, "440Hz");
    EXPECT_EQ(sounds[1].flags, DWORD{13});
    EXPECT_EQ(sounds[2].name, "NULL");
    EXPECT_TRUE(app.Calls("timeSetEvent").empty());
}

TEST(TempoSelection, TheToneRowWhileClickingLoopsTheToneUntilTheFirstClickOfATempoRow) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.Click(IDC_SIGNATURE_3_4);
        d.Click(IDC_ONOFF);
        app.Advance(700);
        d.ChooseRow(IDC_TEMPO_LIST, u"A4 TONE (440 Hz)");
        EXPECT_TRUE(test_support::MainDialog(d).m_bRunning);
        EXPECT_EQ(app.fake.timers.ActiveTimers(), 0u);
        app.Advance(2000);
        d.ChooseRow(IDC_TEMPO_LIST, u"120 Moderato/Allegro");
        EXPECT_TRUE(d.Enabled(IDC_TAP));
        EXPECT_TRUE(d.Enabled(IDC_NO_FIXED_SCALE));
        app.Advance(1000);
        d.Key(VK_ESCAPE);
    });
    Texts sounds;
    for (const auto& s : app.Sounds())
        sounds.push_back(std::to_string(s.timeMs) + ":" + s.name + "/" + std::to_string(s.flags));
    // The tone starts at once; nothing stops it but the first click of the new tempo.
    EXPECT_EQ(sounds, (Texts{"0:NULL/1", "0:Metronome1/5", "600:Metronome2/5", "700:NULL/1",
                             "700:440Hz/13", "3200:Metronome1/5", "3700:Metronome2/5"}));
    EXPECT_EQ(app.Calls("timeSetEvent"), (Texts{"timeSetEvent(600,1,TIME_PERIODIC) -> 1",
                                                "timeSetEvent(500,1,TIME_PERIODIC) -> 2"}));
}

}  // namespace
