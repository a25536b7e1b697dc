// The number field and the comments box as a desktop's edit fields: selection by keyboard and
// mouse, the clipboard and the X selection, undo, the context menu; the number field's rules
// through all of it. Also the tempo list's and the slider's wheel and the list's typed letters.
#include <gtest/gtest.h>

#include "app/metronome_dlg.h"
#include "res/resource_ids.h"
#include "support/app_harness.h"

using test_support::AppHarness;
using ui::headless::Driver;

namespace {

const CString kPrompt(u"Place here comments for 1...8 user presets");

std::size_t TimerStarts(const AppHarness& app) {
    return app.Calls("timeSetEvent").size();
}

bool MenuEnabled(Driver& d, int id, UINT command) {
    for (const ui::EditMenuEntry& entry : d.EditMenu(id))
        if (entry.command == command)
            return entry.enabled;
    return false;
}

// Free entry on, the click running, the focus in the number field reached by Tab.
void RunningInFreeEntry(Driver& d) {
    d.Click(IDC_NO_FIXED_SCALE);
    d.Click(IDC_ONOFF);
    d.Focus(IDC_NO_FIXED_SCALE);
    d.Key(VK_TAB);
    ASSERT_EQ(d.FocusId(), IDC_TEMPO_VALUE);
}

}  // namespace

TEST(NumberField, TabSelectsItAllSoThatATempoIsTypedOverIt) {
    AppHarness app;
    app.Run([&](Driver& d) {
        RunningInFreeEntry(d);
        EXPECT_EQ(d.SelectedText(IDC_TEMPO_VALUE), CString(u"100"));
        d.Type(u"75");
        EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u"75"));
        EXPECT_EQ(d.Text(IDC_TEMPO_NAME), CString(u"Adagio"));
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(app.Calls("timeSetEvent").back().substr(0, 18), "timeSetEvent(800,1");
}

TEST(NumberField, ShiftHomeSelectsBackToTheStartAndTypingReplacesIt) {
    AppHarness app;
    app.Run([&](Driver& d) {
        RunningInFreeEntry(d);
        d.Key(VK_END);
        d.Key(VK_LEFT);
        d.Key(VK_HOME, ui::kShift);
        EXPECT_EQ(d.SelectedText(IDC_TEMPO_VALUE), CString(u"10"));
        d.Type(u"2");
        EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u"20"));
        d.Key(VK_END, ui::kShift);  // from the caret after "2"
        EXPECT_EQ(d.SelectedText(IDC_TEMPO_VALUE), CString(u"0"));
        d.Key(VK_DELETE);
        EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u"2"));
        d.Key(VK_ESCAPE);
    });
}

TEST(NumberField, APasteOverTheSelectionIsOneChangeAndRestartsTheClickOnce) {
    AppHarness app;
    app.Run([&](Driver& d) {
        RunningInFreeEntry(d);
        app.ui.SetClipboard(CString(u"120"));
        const std::size_t before = TimerStarts(app);
        d.Key('V', ui::kControl);
        EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u"120"));
        EXPECT_EQ(d.Text(IDC_TEMPO_NAME), CString(u"Moderato/Allegro"));
        EXPECT_EQ(TimerStarts(app), before + 1);
        // Shift+Insert pastes as well; over the selection made by Ctrl+A.
        app.ui.SetClipboard(CString(u"96"));
        d.Key('A', ui::kControl);
        d.Key(VK_INSERT, ui::kShift);
        EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u"96"));
        EXPECT_EQ(TimerStarts(app), before + 2);
        d.Key(VK_ESCAPE);
    });
}

TEST(NumberField, RefusesPastesWithOtherThanDigitsAndCutsLongOnesAtThreeDigits) {
    AppHarness app;
    app.Run([&](Driver& d) {
        RunningInFreeEntry(d);
        const std::size_t before = TimerStarts(app);
        for (const char16_t* refused : {u"12a", u"-5", u" 90", u"1.5"}) {
            app.ui.SetClipboard(CString(refused));
            d.Key('V', ui::kControl);
            EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u"100")) << CString(refused).ToUtf8();
        }
        d.Type(u"x");
        EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u"100"));
        EXPECT_EQ(TimerStarts(app), before);

        app.ui.SetClipboard(CString(u"12345"));
        d.Key('V', ui::kControl);  // over the whole selection: the first three digits
        EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u"123"));
        d.Key(VK_LEFT);
        app.ui.SetClipboard(CString(u"4"));
        d.Key('V', ui::kControl);  // full: nothing to add
        d.Type(u"4");
        EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u"123"));
        EXPECT_EQ(TimerStarts(app), before + 1);
        d.Key(VK_ESCAPE);
    });
}

TEST(NumberField, CopyCutAndOneLevelOfUndo) {
    AppHarness app;
    app.Run([&](Driver& d) {
        RunningInFreeEntry(d);
        d.Key(VK_INSERT, ui::kControl);
        EXPECT_EQ(app.ui.Clipboard(), CString(u"100"));
        d.Key(VK_END);
        d.Key(VK_LEFT, ui::kShift);
        d.Key('X', ui::kControl);
        EXPECT_EQ(app.ui.Clipboard(), CString(u"0"));
        EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u"10"));
        const std::size_t before = TimerStarts(app);
        d.Key('Z', ui::kControl);
        EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u"100"));
        EXPECT_EQ(TimerStarts(app), before + 1);
        d.Key('Z', ui::kControl);  // undo of the undo
        EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u"10"));
        // Shift+Delete cuts.
        d.Key('A', ui::kControl);
        d.Key(VK_DELETE, ui::kShift);
        EXPECT_EQ(app.ui.Clipboard(), CString(u"10"));
        EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u""));
        d.Key(VK_ESCAPE);
    });
}

TEST(NumberField, TypedDigitsUndoAsOneStep) {
    AppHarness app;
    app.Run([&](Driver& d) {
        RunningInFreeEntry(d);
        d.Key(VK_BACK);
        d.Type(u"132");
        d.Key('Z', ui::kControl);
        EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u""));
        d.Key(VK_ESCAPE);
    });
}

TEST(Comments, DoubleClickSelectsAWordAndTypingReplacesIt) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.DoubleClickText(IDC_COMMENTS, 13);  // inside "comments"
        EXPECT_EQ(d.SelectedText(IDC_COMMENTS), CString(u"comments"));
        EXPECT_EQ(d.FocusId(), IDC_COMMENTS);
        EXPECT_EQ(app.ui.PrimarySelection(), CString(u"comments"));
        d.Type(u"notes");
        EXPECT_EQ(test_support::MainDialog(d).m_strComments,
                  CString(u"Place here notes for 1...8 user presets"));
        d.Key(VK_ESCAPE);
    });
}

TEST(Comments, KeyboardSelectionByCharacterWordAndLine) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.Focus(IDC_COMMENTS);
        d.Key(VK_HOME);
        d.Key(VK_RIGHT, ui::kControl);  // to "here"
        d.Key(VK_RIGHT, ui::kControl | ui::kShift);
        EXPECT_EQ(d.SelectedText(IDC_COMMENTS), CString(u"here "));
        d.Key(VK_RIGHT, ui::kShift);
        EXPECT_EQ(d.SelectedText(IDC_COMMENTS), CString(u"here c"));
        d.Key(VK_LEFT);  // collapses to the selection's start
        EXPECT_EQ(d.Selection(IDC_COMMENTS), (std::pair{6, 6}));
        d.Key(VK_END, ui::kShift);
        EXPECT_EQ(d.SelectedText(IDC_COMMENTS), CString(u"here comments for 1...8 user presets"));
        d.Key(VK_BACK);
        EXPECT_EQ(test_support::MainDialog(d).m_strComments, CString(u"Place "));
        d.Key(VK_ESCAPE);
    });
}

TEST(Comments, LineBreaksStayCrLfAndMoveAsOneCharacter) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.Focus(IDC_COMMENTS);
        d.Key('A', ui::kControl);
        d.Type(u"ab\rcd");
        d.Key(VK_UP);
        EXPECT_EQ(d.Selection(IDC_COMMENTS), (std::pair{2, 2}));
        d.Key(VK_RIGHT, ui::kShift);
        EXPECT_EQ(d.SelectedText(IDC_COMMENTS), CString(u"\r\n"));
        // A paste from a desktop that ends lines with LF alone.
        app.ui.SetClipboard(CString(u"x\ny"));
        d.Key('V', ui::kControl);
        EXPECT_EQ(test_support::MainDialog(d).m_strComments, CString(u"abx\r\nycd"));
        d.Key(VK_HOME, ui::kShift);
        EXPECT_EQ(d.SelectedText(IDC_COMMENTS), CString(u"y"));
        d.Key(VK_ESCAPE);
    });
}

TEST(Comments, MouseSelectionCopiesAndAMiddleClickPastesTheXSelection) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.DragText(IDC_COMMENTS, 0, 5);
        EXPECT_EQ(d.SelectedText(IDC_COMMENTS), CString(u"Place"));
        d.ShiftClickText(IDC_COMMENTS, 10);
        EXPECT_EQ(d.SelectedText(IDC_COMMENTS), CString(u"Place here"));
        EXPECT_EQ(app.ui.PrimarySelection(), CString(u"Place here"));
        d.Key('C', ui::kControl);
        EXPECT_EQ(app.ui.Clipboard(), CString(u"Place here"));
        d.MiddleClickText(IDC_COMMENTS, kPrompt.GetLength());
        EXPECT_EQ(d.Text(IDC_COMMENTS), kPrompt + CString(u"Place here"));
        // The number field takes the X selection only when it is all digits.
        d.Click(IDC_NO_FIXED_SCALE);
        d.MiddleClickText(IDC_TEMPO_VALUE, 3);
        EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u"100"));
        d.Key(VK_ESCAPE);
    });
}

// As the standard edit's default limit: 32,767 characters may be typed or pasted, no more.
TEST(Comments, TypingAndPastingStopAtTheStandardLimit) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.Focus(IDC_COMMENTS);
        d.Key('A', ui::kControl);
        app.ui.SetClipboard(CString(std::u16string(40000, u'z')));
        d.Key('V', ui::kControl);
        EXPECT_EQ(d.Text(IDC_COMMENTS).GetLength(), 32767);
        d.Type(u"y");
        EXPECT_EQ(d.Text(IDC_COMMENTS).GetLength(), 32767);
        // Over a selection, what fits is typed.
        d.Key(VK_LEFT, ui::kShift);
        d.Type(u"y");
        EXPECT_EQ(d.Text(IDC_COMMENTS), CString(std::u16string(32766, u'z') + u"y"));
        d.Key(VK_ESCAPE);
    });
}

TEST(EditMenu, GreysWhatDoesNotApply) {
    AppHarness app;
    app.Run([&](Driver& d) {
        for (UINT command : {WM_UNDO, WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR})
            EXPECT_FALSE(MenuEnabled(d, IDC_COMMENTS, command)) << command;
        EXPECT_TRUE(MenuEnabled(d, IDC_COMMENTS, EM_SETSEL));
        EXPECT_TRUE(d.ChooseEditMenu(IDC_COMMENTS, EM_SETSEL));
        EXPECT_FALSE(MenuEnabled(d, IDC_COMMENTS, EM_SETSEL));
        EXPECT_TRUE(d.ChooseEditMenu(IDC_COMMENTS, WM_COPY));
        EXPECT_EQ(app.ui.Clipboard(), kPrompt);
        EXPECT_TRUE(MenuEnabled(d, IDC_COMMENTS, WM_PASTE));
        EXPECT_TRUE(d.ChooseEditMenu(IDC_COMMENTS, WM_CLEAR));
        EXPECT_EQ(test_support::MainDialog(d).m_strComments, CString());
        EXPECT_TRUE(d.ChooseEditMenu(IDC_COMMENTS, WM_UNDO));
        EXPECT_EQ(test_support::MainDialog(d).m_strComments, kPrompt);

        // The read-only name field: selected text can be copied, nothing else.
        d.Click(IDC_NO_FIXED_SCALE);
        EXPECT_TRUE(d.ChooseEditMenu(IDC_TEMPO_NAME, EM_SETSEL));
        EXPECT_TRUE(MenuEnabled(d, IDC_TEMPO_NAME, WM_COPY));
        for (UINT command : {WM_UNDO, WM_CUT, WM_PASTE, WM_CLEAR})
            EXPECT_FALSE(MenuEnabled(d, IDC_TEMPO_NAME, command)) << command;
        d.Key(VK_DELETE);
        EXPECT_EQ(d.Text(IDC_TEMPO_NAME), CString(u"Andante"));
        EXPECT_EQ(d.SelectedText(IDC_TEMPO_NAME), CString(u"Andante"));
        d.Key(VK_ESCAPE);
    });
}

TEST(TempoList, TheWheelMovesTheChoiceByARowOnlyWithTheFocus) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.Focus(IDC_ONOFF);
        d.Wheel(IDC_TEMPO_LIST, 1);
        EXPECT_EQ(d.Text(IDC_TEMPO_LIST), CString(u"100 Andante"));
        d.Click(IDC_ONOFF);
        d.Focus(IDC_TEMPO_LIST);
        const std::size_t before = TimerStarts(app);
        d.Wheel(IDC_TEMPO_LIST, 1);
        EXPECT_EQ(d.Text(IDC_TEMPO_LIST), CString(u"104 Andante"));
        d.Wheel(IDC_TEMPO_LIST, -2);
        EXPECT_EQ(d.Text(IDC_TEMPO_LIST), CString(u"96 Andante"));
        EXPECT_EQ(TimerStarts(app), before + 2);  // a restart per change, as with the arrows
        EXPECT_EQ(test_support::MainDialog(d).m_nBeatPeriodMs, 625);
        d.Wheel(IDC_TEMPO_LIST, -100);
        EXPECT_EQ(d.CurSel(IDC_TEMPO_LIST), 0);
        d.Key(VK_ESCAPE);
    });
}

TEST(TempoList, ATypedCharacterChoosesTheNextRowBeginningWithItAndWraps) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.Focus(IDC_TEMPO_LIST);
        d.Type(u"1");
        EXPECT_EQ(d.Text(IDC_TEMPO_LIST), CString(u"104 Andante"));
        d.Type(u"6");
        EXPECT_EQ(d.Text(IDC_TEMPO_LIST), CString(u"60 Largo/Larghetto"));  // wrapped
        EXPECT_EQ(test_support::MainDialog(d).m_nBeatPeriodMs, 1000);
        d.Type(u"a");
        EXPECT_EQ(d.Text(IDC_TEMPO_LIST), CString(u"A4 TONE (440 Hz)"));
        EXPECT_FALSE(d.Enabled(IDC_NO_FIXED_SCALE));  // the tone row's effects
        d.Type(u"x");                                 // no row begins with it
        EXPECT_EQ(d.Text(IDC_TEMPO_LIST), CString(u"A4 TONE (440 Hz)"));
        d.Key(VK_ESCAPE);
    });
}

TEST(VolumeSlider, TheWheelMovesItByItsLineSize) {
    AppHarness app;
    app.Run([&](Driver& d) {
        ui::Control& slider = d.Item(IDC_VOLUME);
        const int start = d.SliderPos(IDC_VOLUME);  // the device's volume, at the top here
        d.Wheel(IDC_VOLUME, -3);
        EXPECT_EQ(d.SliderPos(IDC_VOLUME), start - 3);
        slider.Send(TBM_SETLINESIZE, 0, 1000);
        d.Wheel(IDC_VOLUME, -2);
        EXPECT_EQ(d.SliderPos(IDC_VOLUME), start - 2003);
        d.Wheel(IDC_VOLUME, 1);
        EXPECT_EQ(d.SliderPos(IDC_VOLUME), start - 1003);
        d.Key(VK_ESCAPE);
    });
}
