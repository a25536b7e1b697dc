// Typing a tempo in free entry: naming, clamping, refusing zero, restarting the click, and the
// switch between the two modes.
#include <gtest/gtest.h>

#include "app/metronome_dlg.h"
#include "res/resource_ids.h"
#include "support/app_harness.h"
#include "ui/win_app.h"

using test_support::AppHarness;
using ui::headless::Driver;
using Texts = std::vector<std::string>;

namespace {

// Replaces the whole field as the user would by editing it; sends one change notification.
void Edit(Driver& d, const char16_t* text) {
    d.Item(IDC_TEMPO_VALUE).UserSetText(text);
    d.Idle();
}

std::string Period(unsigned ms) {
    return "timeSetEvent(" + std::to_string(ms) + ",1,TIME_PERIODIC)";
}

Texts TimerPeriods(const AppHarness& app) {
    Texts periods;
    for (const std::string& call : app.Calls("timeSetEvent"))
        periods.push_back(call.substr(0, call.find(" ->")));
    return periods;
}

TEST(FreeTempo, TypingRestartsTheClickAtEveryKeystroke) {
    AppHarness app;
    Texts names;
    app.Run([&](Driver& d) {
        d.Click(IDC_SIGNATURE_2_4);
        d.Click(IDC_NO_FIXED_SCALE);
        Edit(d, u"");
        d.Click(IDC_ONOFF);
        d.Focus(IDC_TEMPO_VALUE);
        for (char16_t digit : std::u16string(u"120")) {
            d.Type(std::u16string(1, digit));
            names.push_back(d.Text(IDC_TEMPO_NAME).ToUtf8());
        }
        app.Advance(500);
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(names, (Texts{"Largo", "Largo", "Moderato/Allegro"}));
    EXPECT_EQ(TimerPeriods(app), (Texts{Period(60000), Period(60000), Period(5000), Period(500)}));
    EXPECT_EQ(app.Clicks().back(), "500:Metronome1");
}

TEST(FreeTempo, EachEntryGetsItsNameFieldAndTruncatedPeriod) {
    const struct {
        const char16_t* typed;
        const char16_t* field;  // what the field shows afterwards
        const char16_t* name;
        int bpm;
        unsigned periodMs;
        bool refused;
    } cases[] = {
        {u"60", u"60", u"Largo/Larghetto", 60, 1000, false},
        {u"61", u"61", u"Larghetto", 61, 983, false},
        {u"69", u"69", u"Adagio", 69, 869, false},
        {u"200", u"200", u"Presto/Prestissimo", 200, 300, false},
        {u"201", u"201", u"Prestissimo", 201, 298, false},
        {u"999", u"300", u"Prestissimo", 300, 200, false},
        {u"301", u"300", u"Prestissimo", 300, 200, false},
        {u"007", u"007", u"Largo", 7, 8571, false},
        {u"", u"", u"Largo", 1, 60000, false},
        {u"00", u"", u"Largo", 1, 60000, true},  // the "1" of "100" deleted
        {u"0", u"", u"Largo", 1, 60000, true},
        {u"000", u"", u"Largo", 1, 60000, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.typed).ToUtf8());
        const std::string label = CString(c.typed).ToUtf8();
        AppHarness app;
        app.Run([&](Driver& d) {
            d.Click(IDC_NO_FIXED_SCALE);
            d.Click(IDC_ONOFF);
            Edit(d, c.typed);
            EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(c.field)) << label;
            EXPECT_EQ(d.Text(IDC_TEMPO_NAME), CString(c.name)) << label;
            EXPECT_EQ(test_support::MainDialog(d).m_nTempoBpm, c.bpm) << label;
            EXPECT_EQ(test_support::MainDialog(d).m_nBeatPeriodMs, static_cast<int>(c.periodMs))
                << label;
            d.Key(VK_ESCAPE);
        });
        // One restart per change: rewriting the field does not run the handler again.
        EXPECT_EQ(TimerPeriods(app), (Texts{Period(600), Period(c.periodMs)})) << label;
        const auto& boxes = app.ui.MessageBoxes();
        ASSERT_EQ(boxes.size(), c.refused ? 1u : 0u) << label;
        if (c.refused) {
            EXPECT_EQ(boxes[0].text, CString(u"The value cannot be null"));
            EXPECT_EQ(boxes[0].caption, ui::ApplicationName());
            EXPECT_EQ(boxes[0].type, UINT{MB_OK});
        }
    }
}

TEST(FreeTempo, AnEighthsSignatureKeepsItsRadioWhenATempoIsTyped) {
    for (bool running : {false, true}) {
        SCOPED_TRACE(running ? "running" : "stopped");
        AppHarness app;
        app.Run([&](Driver& d) {
            d.Click(IDC_SIGNATURE_3_8);
            d.Click(IDC_NO_FIXED_SCALE);
            if (running) {
                d.Click(IDC_ONOFF);
                app.Advance(300);  // the first tick folds the shared index to 2
            }
            Edit(d, u"90");
            EXPECT_EQ(d.SelectedRadio(IDC_SIGNATURE_1_4), IDC_SIGNATURE_3_8) << running;
            d.Key(VK_ESCAPE);
        });
        const Texts expected = running ? Texts{Period(300), Period(333)} : Texts{};
        EXPECT_EQ(TimerPeriods(app), expected);
    }
}

TEST(FreeTempo, EachModeKeepsItsOwnPeriodAcrossSwitches) {
    AppHarness app;
    Texts accents;
    app.Run([&](Driver& d) {
        d.Click(IDC_SIGNATURE_2_4);
        d.Click(IDC_ONOFF);
        d.ChooseRow(IDC_TEMPO_LIST, u"69 Adagio");

        d.Click(IDC_NO_FIXED_SCALE);  // first time: the start texts and 600 ms
        EXPECT_FALSE(d.Visible(IDC_TEMPO_LIST));
        EXPECT_TRUE(d.Visible(IDC_TEMPO_VALUE));
        EXPECT_TRUE(d.Visible(IDC_TEMPO_NAME));
        EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u"100"));
        EXPECT_EQ(d.Text(IDC_TEMPO_NAME), CString(u"Andante"));
        EXPECT_EQ(test_support::MainDialog(d).m_nBeatPeriodMs, 600);
        Edit(d, u"120");

        app.Advance(700);
        d.Click(IDC_NO_FIXED_SCALE);
        EXPECT_TRUE(d.Visible(IDC_TEMPO_LIST));
        EXPECT_FALSE(d.Visible(IDC_TEMPO_VALUE));
        EXPECT_FALSE(d.Visible(IDC_TEMPO_NAME));
        EXPECT_EQ(d.Text(IDC_TEMPO_LIST), CString(u"69 Adagio"));
        EXPECT_EQ(test_support::MainDialog(d).m_nBeatPeriodMs, 870);
        app.Advance(870);
        accents.push_back(app.Clicks().back());

        d.Click(IDC_NO_FIXED_SCALE);
        EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u"120"));
        EXPECT_EQ(d.Text(IDC_TEMPO_NAME), CString(u"Moderato/Allegro"));
        EXPECT_EQ(test_support::MainDialog(d).m_nBeatPeriodMs, 500);
        app.Advance(500);
        accents.push_back(app.Clicks().back());
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(TimerPeriods(app), (Texts{Period(600), Period(870), Period(600), Period(500),
                                        Period(870), Period(500)}));
    // Every switch starts the measure again.
    EXPECT_EQ(accents, (Texts{"1570:Metronome1", "2070:Metronome1"}));
}

}  // namespace
