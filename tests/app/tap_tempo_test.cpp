// Tapping a tempo: series and their averages, snapping to the scale, free entry, restarts, the
// 512-interval limit and the wrap of the millisecond counter.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

#include "app/metronome_dlg.h"
#include "audio/beat_clock.h"
#include "res/resource_ids.h"
#include "support/app_harness.h"
#include "tempo/tap_series.h"

using test_support::AppHarness;
using ui::headless::Driver;
using Texts = std::vector<std::string>;

namespace {

// Presses Tap after each pause in turn.
void Tap(AppHarness& app, Driver& d, std::initializer_list<unsigned> pausesMs) {
    for (unsigned pause : pausesMs) {
        app.Advance(pause);
        d.Click(IDC_TAP);
    }
}

// The first pause is long: it starts a series without setting a tempo.
constexpr unsigned kStart = 5000;

TEST(TapTempo, TheAverageOfTheSeriesSnapsToARowOfTheScale) {
    const struct {
        std::initializer_list<unsigned> pauses;
        const char16_t* row;
        int periodMs;
    } cases[] = {
        {{kStart}, u"100 Andante", 600},  // one press only starts a series
        {{kStart, 500}, u"120 Moderato/Allegro", 500},
        {{kStart, 500, 700}, u"100 Andante", 600},  // average of 500 and 700
        {{kStart, 1463}, u"42 Largo", 1429},
        {{kStart, 1464}, u"40 Largo", 1500},
        {{kStart, 509}, u"120 Moderato/Allegro", 500},
        {{kStart, 510}, u"116 Moderato", 517},
        {{kStart, 100}, u"208 Prestissimo", 288},
        {{kStart, 0}, u"208 Prestissimo", 288},
        {{kStart, 1000, 2000}, u"40 Largo", 1500},            // 2000 ms still continues the series
        {{kStart, 1000, 2001}, u"60 Largo/Larghetto", 1000},  // a new series; tempo kept
        {{kStart, 1000, 2001, 600}, u"100 Andante", 600},     // 600 alone, not with 1000
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.row).ToUtf8() + " after " + std::to_string(c.pauses.size()) +
                     " presses");
        const std::string label =
            CString(c.row).ToUtf8() + " after " + std::to_string(c.pauses.size()) + " presses";
        AppHarness app;
        app.Run([&](Driver& d) {
            Tap(app, d, c.pauses);
            EXPECT_EQ(d.Text(IDC_TEMPO_LIST), CString(c.row)) << label;
            EXPECT_EQ(test_support::MainDialog(d).m_nBeatPeriodMs, c.periodMs) << label;
            d.Click(IDC_ONOFF);
            d.Key(VK_ESCAPE);
        });
        EXPECT_EQ(app.Calls("timeSetEvent"),
                  (Texts{"timeSetEvent(" + std::to_string(c.periodMs) + ",1,TIME_PERIODIC) -> 1"}))
            << label;
        EXPECT_TRUE(app.ui.Problems().empty());
    }
}

TEST(TapTempo, FreeEntryShowsTheTappedTempoAndKeepsTheAverageAsPeriod) {
    const struct {
        std::initializer_list<unsigned> pauses;
        const char16_t* field;
        const char16_t* name;
        int periodMs;
    } cases[] = {
        {{kStart, 500}, u"120", u"Moderato/Allegro", 500},
        {{kStart, 523}, u"114", u"Moderato", 523},  // not 526, the period of 114 BPM
        {{kStart, 201}, u"298", u"Prestissimo", 201},
        {{kStart, 200}, u"300", u"Prestissimo", 200},
        // Faster than 300 BPM: the period follows the tempo shown.
        {{kStart, 199}, u"300", u"Prestissimo", 200},
        {{kStart, 100}, u"300", u"Prestissimo", 200},
        {{kStart, 0}, u"300", u"Prestissimo", 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.field).ToUtf8());
        const std::string label = CString(c.field).ToUtf8();
        AppHarness app;
        app.Run([&](Driver& d) {
            d.Click(IDC_NO_FIXED_SCALE);
            Tap(app, d, c.pauses);
            EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(c.field)) << label;
            EXPECT_EQ(d.Text(IDC_TEMPO_NAME), CString(c.name)) << label;
            EXPECT_EQ(test_support::MainDialog(d).m_nBeatPeriodMs, c.periodMs) << label;
            EXPECT_EQ(d.Text(IDC_TEMPO_LIST), CString(u"100 Andante")) << label;
            d.Key(VK_ESCAPE);
        });
        EXPECT_TRUE(app.Calls("timeSetEvent").empty()) << label;  // the click stays off
    }
}

TEST(TapTempo, EachAcceptedPressWhileClickingRestartsTheMeasure) {
    for (bool freeEntry : {false, true}) {
        SCOPED_TRACE(freeEntry ? "free entry" : "scale");
        AppHarness app;
        int shownSignature = 0;
        app.Run([&](Driver& d) {
            d.Click(IDC_SIGNATURE_3_8);
            if (freeEntry)
                d.Click(IDC_NO_FIXED_SCALE);
            d.Click(IDC_ONOFF);
            Tap(app, d, {kStart, 600, 600});
            app.Advance(300);
            // Free entry pushes without pulling first: the folded index must still show "3/8".
            shownSignature = d.SelectedRadio(IDC_SIGNATURE_1_4);
            EXPECT_EQ(g_nSignature.load(), 2);
            d.Key(VK_ESCAPE);
        });
        EXPECT_EQ(shownSignature, IDC_SIGNATURE_3_8) << freeEntry;
        // On, then the second and third presses; the first one only starts the series.
        EXPECT_EQ(app.Calls("timeSetEvent"), (Texts{"timeSetEvent(300,1,TIME_PERIODIC) -> 1",
                                                    "timeSetEvent(300,1,TIME_PERIODIC) -> 2",
                                                    "timeSetEvent(300,1,TIME_PERIODIC) -> 3"}))
            << freeEntry;
        // One interval after each of those presses comes the accent, wherever the measure was.
        const Texts clicks = app.Clicks();
        EXPECT_NE(std::find(clicks.begin(), clicks.end(), "5900:Metronome1"), clicks.end());
        EXPECT_EQ(clicks.back(), "6500:Metronome1") << freeEntry;
    }
}

TEST(TapTempo, ASeriesContinuesAcrossTheWrapOfTheMillisecondCounter) {
    AppHarness app;
    app.fake.timers.SetTimeBase(0xFFFFFFFFu - 700);
    app.Run([&](Driver& d) {
        Tap(app, d, {400, 500});  // the second press reads a small time after the wrap
        EXPECT_EQ(d.Text(IDC_TEMPO_LIST), CString(u"120 Moderato/Allegro"));
        Tap(app, d, {700});
        EXPECT_EQ(tempo::g_nTapCount, 2);
        EXPECT_EQ(d.Text(IDC_TEMPO_LIST), CString(u"100 Andante"));
        d.Key(VK_ESCAPE);
    });
}

TEST(TapTempo, The512thIntervalStartsTheAverageAgain) {
    AppHarness app;
    app.Run([&](Driver& d) {
        Tap(app, d, {kStart});
        for (int i = 0; i < 511; ++i)
            Tap(app, d, {300});
        EXPECT_EQ(tempo::g_nTapCount, 511);
        EXPECT_EQ(d.Text(IDC_TEMPO_LIST), CString(u"200 Presto/Prestissimo"));
        Tap(app, d, {1000});  // counted alone, not averaged with the 511 before it
        EXPECT_EQ(tempo::g_nTapCount, 0);
        EXPECT_EQ(d.Text(IDC_TEMPO_LIST), CString(u"60 Largo/Larghetto"));
        Tap(app, d, {500});  // a new average from slot 0
        EXPECT_EQ(tempo::g_nTapCount, 1);
        EXPECT_EQ(tempo::g_aTapIntervals[0], 500);
        EXPECT_EQ(d.Text(IDC_TEMPO_LIST), CString(u"120 Moderato/Allegro"));
        d.Key(VK_ESCAPE);
    });
}

}  // namespace
