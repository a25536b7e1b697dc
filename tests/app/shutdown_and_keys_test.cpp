// Ending the program, the keyboard of the main dialog, the help hint, the About box and the
// minimised icon.
#include <gtest/gtest.h>

#include "app/metronome_dlg.h"
#include "app/minimised_icon.h"
#include "res/resource_ids.h"
#include "res/resources.h"
#include "support/app_harness.h"

using test_support::AppHarness;
using ui::headless::Driver;
using Calls = std::vector<std::string>;

namespace {

const Calls kReleaseSteps = {"waveOutReset", "waveOutClose", "timeEndPeriod(1)",
                             "timeKillEvent(0)"};

Calls CallsAfter(const AppHarness& app, std::size_t first) {
    Calls all = app.Calls();
    return Calls(all.begin() + static_cast<std::ptrdiff_t>(std::min(first, all.size())), all.end());
}

TEST(Shutdown, EveryWayOutReleasesOnceInOrderAndEndsTheProgram) {
    const std::pair<const char*, std::function<void(Driver&)>> ways[] = {
        {"Escape", [](Driver& d) { d.Key(VK_ESCAPE); }},
        {"close box", [](Driver& d) { d.CloseBox(); }},
        {"Alt+F4", [](Driver& d) { d.Key(VK_F4, ui::kAlt); }},
        {"Close on the system menu", [](Driver& d) { d.SystemCommand(SC_CLOSE); }},
    };
    for (const auto& [name, closeIt] : ways) {
        SCOPED_TRACE(name);
        AppHarness app;
        std::size_t before = 0;
        bool ended = false;
        app.Run([&](Driver& d) {
            before = app.Calls().size();
            closeIt(d);
            ended = d.Ended();
        });
        EXPECT_TRUE(ended) << name;
        EXPECT_EQ(CallsAfter(app, before), kReleaseSteps) << name;
        EXPECT_FALSE(app.fake.waveOut.IsOpen()) << name;
    }
}

TEST(Shutdown, ClosingWhileClickingKillsTheRunningTimer) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.Click(IDC_ONOFF);
        app.Advance(700);
        d.CloseBox();
    });
    EXPECT_EQ(app.fake.timers.ActiveTimers(), 0u);
    const Calls calls = app.Calls();
    const Calls tail(calls.end() - 4, calls.end());
    EXPECT_EQ(tail,
              (Calls{"waveOutReset", "waveOutClose", "timeEndPeriod(1)", "timeKillEvent(1)"}));
}

TEST(Keyboard, EnterPressesOnOffUnlessAnotherButtonOrTheCommentsHaveTheFocus) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.Key(VK_RETURN);  // focus on the tempo list: the default button
        EXPECT_EQ(app.fake.timers.ActiveTimers(), 1u);
        d.Key(VK_RETURN);
        EXPECT_EQ(app.fake.timers.ActiveTimers(), 0u);

        d.Focus(IDC_COMMENTS);
        d.Type(u"\rtwo");
        EXPECT_EQ(app.fake.timers.ActiveTimers(), 0u);
        EXPECT_EQ(test_support::MainDialog(d).m_strComments,
                  CString(u"Place here comments for 1...8 user presets\r\ntwo"));

        d.Focus(IDC_SOUND_RIM);
        d.Key(VK_RETURN);  // a radio button is not a push button: On/Off again
        EXPECT_EQ(app.fake.timers.ActiveTimers(), 1u);
        d.Key(VK_ESCAPE);
    });
}

TEST(Keyboard, TheTempoNumberTakesAtMostThreeDigits) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.Click(IDC_NO_FIXED_SCALE);
        auto& edit = d.Item(IDC_TEMPO_VALUE);
        edit.Show(true);
        d.Focus(IDC_TEMPO_VALUE);
        EXPECT_FALSE(edit.UserSetText(CString(u"12a")));
        EXPECT_FALSE(edit.UserSetText(CString(u"1234")));
        EXPECT_TRUE(edit.UserSetText(CString(u"007")));
        EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u"007"));
        d.Key(VK_ESCAPE);
    });
}

TEST(Help, F1ShowsTheTapHintAndModifiedF1DoesNothing) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.Key(VK_F1, ui::kShift);
        d.Key(VK_F1, ui::kControl);
        d.Key(VK_F1, ui::kAlt);
        EXPECT_TRUE(app.ui.MessageBoxes().empty());
        d.Key(VK_F1);
        d.Key(VK_ESCAPE);
    });
    ASSERT_EQ(app.ui.MessageBoxes().size(), 1u);
    const auto& box = app.ui.MessageBoxes().front();
    EXPECT_EQ(box.caption, CString(u"Vorla Metronome"));
    EXPECT_EQ(box.type, MB_OK);
    EXPECT_EQ(box.ownerCaption, CString(u"Vorla Metronome 2007.11.11"));
    EXPECT_EQ(box.text.ToUtf8(),
              "Don't press the \"Tap\" button at least 2 seconds if you want change temp value!\n" +
                  CString(res::kHintSecondLine).ToUtf8());
}

TEST(AboutBox, OpensFromTheSystemMenuLinksOutAndStaysOpen) {
    AppHarness app;
    bool stayedOpen = false;
    app.ThenInNextDialog([&](Driver& about) {
        EXPECT_EQ(about.TemplateId(), IDD_ABOUTBOX);
        EXPECT_EQ(about.Window().Text(), CString(u"About Vorla Metronome 2007.09"));
        about.Click(IDC_WEB_PAGE);
        stayedOpen = !about.Ended();
        about.Key(VK_F1);  // the hint of the main dialog
        about.Focus(IDOK);
        about.Key(VK_RETURN);
    });
    app.Run([&](Driver& d) {
        d.Click(IDC_ONOFF);
        EXPECT_TRUE(d.ChooseSystemMenuItem(u'a'));
        EXPECT_TRUE(d.Window().IsEnabled());
        d.Key(VK_ESCAPE);
    });
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(app.fake.shell.opened.size(), 1u);
    EXPECT_EQ(app.fake.shell.opened[0], std::u16string(res::kMakerWebAddress));
    ASSERT_EQ(app.ui.MessageBoxes().size(), 1u) << app.ui.MessageBoxes().back().text;
    EXPECT_EQ(app.ui.MessageBoxes()[0].caption, CString(u"Vorla Metronome"));
    EXPECT_EQ(app.ui.DialogsShown(), (std::vector<UINT>{IDD_METRONOME_DIALOG, IDD_ABOUTBOX}));
}

TEST(AboutBox, AnySystemCommandWhoseHighBitsAreSixteenOpensIt) {
    AppHarness app;
    int opened = 0;
    for (int i = 0; i < 2; ++i)
        app.ThenInNextDialog([&](Driver& about) {
            ++opened;
            about.CloseBox();
        });
    app.Run([&](Driver& d) {
        d.SystemCommand(0x0013);
        d.SystemCommand(0x001F);
        d.SystemCommand(0x0020);  // not the About command: default processing
        d.SystemCommand(SC_MINIMIZE);
        EXPECT_TRUE(d.Window().IsIconic());
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(opened, 2);
}

TEST(MinimisedIcon, IsCentredWithTheLargerHalfOfAnOddMarginFirst) {
    struct Case {
        int client, icon, edge;
    };
    for (const Case c : {Case{32, 32, 0}, Case{33, 32, 1}, Case{40, 32, 4}, Case{41, 32, 5},
                         Case{30, 32, 0}, Case{29, 32, -1}})
        EXPECT_EQ(CentredIconEdge(c.client, c.icon), c.edge) << c.client << " " << c.icon;

    AppHarness app;
    app.ui.SetIconSize(24);
    app.Run([&](Driver& d) {
        d.SystemCommand(SC_MINIMIZE);
        EXPECT_EQ(d.Window().PaintedIcon(), d.Window().Icon(true));
        d.Key(VK_ESCAPE);
    });
}

}  // namespace
