// What a screen reader is told of the main dialog, the About box, the Save User Preset dialog and
// the message boxes: roles, names, states and relations of every control, actions with a click's
// effects, and one report per change.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preset_session.h"
#include "ui/headless/accessible_recorder.h"

using preset_tests::BankPath;
using preset_tests::SavePreset;
using Role = ui::AccessibleRole;
using test_support::AppHarness;
using ui::headless::AccessibleRecorder;
using ui::headless::Driver;
using Lines = std::vector<std::string>;

namespace {

struct Expected {
    int id;
    Role role;
    const char16_t* name;
};

std::string Describe(const ui::AccessibleNode& n) {
    return n.name.ToUtf8() + " (role " + std::to_string(static_cast<int>(n.role)) + ")";
}

void ExpectControls(Driver& d, const std::vector<Expected>& expected) {
    for (const Expected& e : expected) {
        const ui::AccessibleNode n = d.Accessible(e.id);
        EXPECT_EQ(n.role, e.role) << e.id << ": " << Describe(n);
        EXPECT_EQ(n.name, CString(e.name)) << e.id;
    }
}

TEST(Accessibility, EveryControlOfTheMainDialogHasItsRoleAndName) {
    AppHarness app;
    app.Run([&](Driver& d) {
        EXPECT_EQ(d.AccessibleWindow().role, Role::Dialog);
        EXPECT_EQ(d.AccessibleWindow().name, CString(u"Vorla Metronome 2007.11.11"));
        ExpectControls(d, {
                              {IDC_TEMPO_LIST, Role::ComboBox, u"Tempo"},
                              {IDC_ONOFF, Role::PushButton, u"On/Off"},
                              {IDC_SOUND_FRAME, Role::Panel, u"Click sound & Volume level"},
                              {IDC_SOUND_METRONOME, Role::RadioButton, u"Metronome"},
                              {IDC_SOUND_DIGITAL, Role::RadioButton, u"Digital"},
                              {IDC_SOUND_HIHAT, Role::RadioButton, u"Closed Hi-Hat"},
                              {IDC_SOUND_RIM, Role::RadioButton, u"Rim"},
                              {IDC_SIGNATURE_FRAME, Role::Panel, u"Signature"},
                              {IDC_SIGNATURE_1_4, Role::RadioButton, u"1/4"},
                              {IDC_SIGNATURE_6_8, Role::RadioButton, u"6/8"},
                              {IDC_VOLUME, Role::Slider, u"Volume level"},
                              {IDC_TAP, Role::PushButton, u"Tap"},
                              {IDC_NO_FIXED_SCALE, Role::CheckBox, u"No fixed scale"},
                              {IDC_TEMPO_VALUE, Role::Entry, u"Tempo"},
                              {IDC_TEMPO_NAME, Role::Entry, u"Tempo name"},
                              {IDC_PRESET_1, Role::PushButton, u"1"},
                              {IDC_PRESET_8, Role::PushButton, u"8"},
                              {IDC_COMMENTS, Role::Text, u"Comments"},
                              {IDC_SAVE_PRESET, Role::PushButton, u"Save"},
                          });
        // The static "Save" labels the tiny button, and the button is labelled by it.
        const auto& controls = d.Window().Controls();
        const ui::AccessibleNode label = ui::DescribeControl(*controls.back());
        EXPECT_EQ(label.role, Role::Label);
        EXPECT_EQ(label.text, CString(u"Save"));
        EXPECT_EQ(label.labelFor, d.Item(IDC_SAVE_PRESET).Index());
        EXPECT_EQ(d.Accessible(IDC_SAVE_PRESET).labelledBy, label.index);
        // No other control claims a label.
        for (const auto& c : controls)
            if (c.get() != &d.Item(IDC_SAVE_PRESET)) {
                EXPECT_EQ(ui::DescribeControl(*c).labelledBy, -1) << c->Id();
            }
        d.Key(VK_ESCAPE);
    });
}

TEST(Accessibility, StatesFollowTheControlsAtStart) {
    AppHarness app;
    app.Run([&](Driver& d) {
        using namespace ui;
        const AccessibleNode onOff = d.Accessible(IDC_ONOFF);
        EXPECT_TRUE(onOff.Has(kStateDefault));
        EXPECT_TRUE(onOff.Has(kStateFocusable) && onOff.Has(kStateEnabled));
        EXPECT_FALSE(d.Accessible(IDC_TAP).Has(kStateDefault));

        EXPECT_TRUE(d.Accessible(IDC_SIGNATURE_1_4).Has(kStateChecked));
        EXPECT_FALSE(d.Accessible(IDC_SIGNATURE_3_4).Has(kStateChecked));
        EXPECT_TRUE(d.Accessible(IDC_SOUND_METRONOME).Has(kStateChecked));
        EXPECT_FALSE(d.Accessible(IDC_NO_FIXED_SCALE).Has(kStateChecked));
        EXPECT_TRUE(d.Accessible(IDC_NO_FIXED_SCALE).Has(kStateCheckable));

        // The free-tempo fields are hidden until "No fixed scale" is ticked.
        const AccessibleNode number = d.Accessible(IDC_TEMPO_VALUE);
        EXPECT_FALSE(number.Has(kStateVisible) || number.Has(kStateShowing));
        EXPECT_FALSE(number.Has(kStateFocusable));
        EXPECT_TRUE(number.Has(kStateEditable) && number.Has(kStateSingleLine));
        const AccessibleNode name = d.Accessible(IDC_TEMPO_NAME);
        EXPECT_TRUE(name.Has(kStateReadOnly));
        EXPECT_FALSE(name.Has(kStateEditable));
        EXPECT_EQ(name.text, CString(u"Andante"));

        const AccessibleNode comments = d.Accessible(IDC_COMMENTS);
        EXPECT_TRUE(comments.Has(kStateMultiLine) && comments.Has(kStateEditable));
        EXPECT_EQ(comments.text, CString(u"Place here comments for 1...8 user presets"));

        const AccessibleNode list = d.Accessible(IDC_TEMPO_LIST);
        ASSERT_EQ(list.rows.size(), 40u);
        EXPECT_EQ(list.rows[static_cast<std::size_t>(list.selectedRow)], CString(u"100 Andante"));

        const AccessibleNode volume = d.Accessible(IDC_VOLUME);
        EXPECT_TRUE(volume.hasValue);
        EXPECT_EQ(volume.minimum, 0);
        EXPECT_EQ(volume.maximum, 65535);
        EXPECT_EQ(volume.value, d.SliderPos(IDC_VOLUME));

        // Group boxes and the label take no focus and have no action.
        EXPECT_FALSE(d.Accessible(IDC_SOUND_FRAME).Has(kStateFocusable));
        EXPECT_TRUE(d.Accessible(IDC_SOUND_FRAME).actions.empty());

        // The focus is on exactly one control, the one the keyboard has.
        int focused = 0;
        for (const auto& c : d.Window().Controls())
            focused += DescribeControl(*c).Has(kStateFocused) ? 1 : 0;
        EXPECT_EQ(focused, 1);
        EXPECT_TRUE(d.Accessible(d.FocusId()).Has(kStateFocused));
        EXPECT_TRUE(d.AccessibleWindow().Has(kStateActive));
        d.Key(VK_ESCAPE);
    });
}

TEST(Accessibility, RadioButtonsAreMembersOfTheirTemplateGroup) {
    AppHarness app;
    app.Run([&](Driver& d) {
        auto indexes = [&](std::vector<int> ids) {
            std::vector<int> out;
            for (int id : ids)
                out.push_back(d.Item(id).Index());
            return out;
        };
        EXPECT_EQ(
            d.Accessible(IDC_SOUND_RIM).memberOf,
            indexes({IDC_SOUND_METRONOME, IDC_SOUND_DIGITAL, IDC_SOUND_HIHAT, IDC_SOUND_RIM}));
        const auto signatures = d.Accessible(IDC_SIGNATURE_2_8).memberOf;
        ASSERT_EQ(signatures.size(), 12u);
        EXPECT_EQ(signatures.front(), d.Item(IDC_SIGNATURE_1_4).Index());
        EXPECT_EQ(signatures.back(), d.Item(IDC_SIGNATURE_6_8).Index());
        EXPECT_TRUE(d.Accessible(IDC_ONOFF).memberOf.empty());
        d.Key(VK_ESCAPE);
    });
}

TEST(Accessibility, TheAboutBoxAndTheSaveDialogAreNamedToo) {
    AppHarness app;
    app.ThenInNextDialog([&](Driver& about) {
        EXPECT_EQ(about.AccessibleWindow().name, CString(u"About Vorla Metronome 2007.09"));
        const auto& controls = about.Window().Controls();
        EXPECT_EQ(ui::DescribeControl(*controls[0]).role, Role::Icon);
        EXPECT_EQ(ui::DescribeControl(*controls[2]).role, Role::Label);
        EXPECT_EQ(
            ui::DescribeControl(*controls[2]).text.ToUtf8().rfind("Vorla Metronome Version", 0),
            0u);
        ExpectControls(about, {{IDOK, Role::PushButton, u"OK"},
                               {IDC_WEB_PAGE, Role::PushButton,
                                u"More software for musicians on the Vorla web site"}});
        EXPECT_TRUE(about.Accessible(IDOK).Has(ui::kStateDefault));
        about.Key(VK_RETURN);
    });
    app.ThenInNextDialog([&](Driver& save) {
        EXPECT_EQ(save.AccessibleWindow().name, CString(u"Save User Preset"));
        // The list has no text of its own: the prompt before it names it.
        const CString prompt(
            u"Please select number of preset to save it.\nOld data of selected preset will be "
            u"erased!");
        ExpectControls(save, {{IDOK, Role::PushButton, u"OK"},
                              {IDCANCEL, Role::PushButton, u"Cancel"},
                              {IDC_PRESET_LIST, Role::ComboBox, prompt.GetString()}});
        const ui::AccessibleNode list = save.Accessible(IDC_PRESET_LIST);
        EXPECT_EQ(list.labelledBy, 2);
        EXPECT_EQ(ui::DescribeControl(*save.Window().Controls()[2]).labelFor, list.index);
        EXPECT_EQ(list.rows.size(), 8u);
        EXPECT_TRUE(save.Accessible(IDOK).Has(ui::kStateFocused));
        save.Key(VK_ESCAPE);
    });
    app.Run([&](Driver& d) {
        EXPECT_TRUE(d.ChooseSystemMenuItem(u'a'));
        d.Click(IDC_SAVE_PRESET);
        d.Key(VK_ESCAPE);
    });
}

TEST(Accessibility, ActionsHaveTheEffectsOfAClick) {
    AppHarness app;
    app.Run([&](Driver& d) {
        const auto actions = d.Accessible(IDC_ONOFF).actions;
        ASSERT_EQ(actions.size(), 1u);
        EXPECT_STREQ(actions[0], "press");
        EXPECT_STREQ(d.Accessible(IDC_SOUND_RIM).actions.at(0), "click");
        EXPECT_TRUE(d.AccessibleAction(IDC_ONOFF));
        app.Advance(600);
        EXPECT_TRUE(d.AccessibleAction(IDC_ONOFF));
        EXPECT_EQ(d.FocusId(), IDC_ONOFF);

        EXPECT_TRUE(d.AccessibleAction(IDC_SIGNATURE_3_4));
        EXPECT_EQ(d.SelectedRadio(IDC_SIGNATURE_1_4), IDC_SIGNATURE_3_4);
        EXPECT_TRUE(d.AccessibleAction(IDC_NO_FIXED_SCALE));
        EXPECT_TRUE(d.Visible(IDC_TEMPO_VALUE));
        EXPECT_FALSE(d.AccessibleAction(IDC_ONOFF, 1));  // a button has one action
        EXPECT_FALSE(d.AccessibleAction(IDC_SOUND_FRAME));
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(app.Clicks(), (Lines{"0:Metronome1", "600:Metronome1"}));  // 1/4: all accents
}

TEST(Accessibility, ARadioCheckedByItsActionIsStoredByTheNextSave) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.AccessibleAction(IDC_SOUND_RIM);
        d.AccessibleAction(IDC_SIGNATURE_5_8);
        SavePreset(app, d, 2);
        d.Key(VK_ESCAPE);
    });
    CBank stored;
    Load(ReadWholeFile(BankPath(2)), stored);
    EXPECT_EQ(stored.m_nSound, 3);
    EXPECT_EQ(stored.m_nSignature, 10);
}

TEST(Accessibility, ARowSelectedLikeTheKeyboardChoosesItAndHiddenControlsRefuse) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.Focus(IDC_TEMPO_LIST);
        d.Key(VK_DOWN);
        const int byKey = d.CurSel(IDC_TEMPO_LIST);
        const int periodByKey = test_support::MainDialog(d).m_nBeatPeriodMs;
        d.Key(VK_UP);
        const auto callsBefore = app.Calls("time").size();
        EXPECT_TRUE(d.AccessibleSelectRow(IDC_TEMPO_LIST, byKey));
        EXPECT_EQ(d.CurSel(IDC_TEMPO_LIST), byKey);
        EXPECT_EQ(test_support::MainDialog(d).m_nBeatPeriodMs, periodByKey);
        EXPECT_EQ(app.Calls("time").size(), callsBefore);  // stopped: no timer to restart
        EXPECT_FALSE(d.AccessibleSelectRow(IDC_TEMPO_LIST, 40));
        // Hidden: the number edit takes no focus, the hidden list no row.
        EXPECT_FALSE(d.AccessibleFocus(IDC_TEMPO_VALUE));
        d.Click(IDC_NO_FIXED_SCALE);
        EXPECT_FALSE(d.AccessibleSelectRow(IDC_TEMPO_LIST, 0));
        EXPECT_TRUE(d.AccessibleFocus(IDC_TEMPO_VALUE));
        EXPECT_EQ(d.FocusId(), IDC_TEMPO_VALUE);
        d.Key(VK_ESCAPE);
    });
}

TEST(Accessibility, TheSliderValueSetByAReaderChangesTheVolume) {
    AppHarness app;
    app.Run([&](Driver& d) {
        EXPECT_TRUE(d.AccessibleSetValue(IDC_VOLUME, 0x1234));
        EXPECT_EQ(d.Accessible(IDC_VOLUME).value, 0x1234);
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(app.Calls("waveOutSetVolume").back(), "waveOutSetVolume(0x12341234)");
}

TEST(Accessibility, EachChangeIsReportedOnce) {
    AppHarness app;
    AccessibleRecorder reader;
    app.Run([&](Driver& d) {
        reader.Clear();
        d.Click(IDC_SIGNATURE_3_4);
        // The click moves the focus from the tempo list first, then checks.
        EXPECT_EQ(reader.Lines(), (Lines{"1000 focused off", "1010 focused on", "1008 checked off",
                                         "1010 checked on"}));
        reader.Clear();
        d.Click(IDC_SIGNATURE_3_4);  // already checked: nothing changes
        d.Click(IDC_ONOFF);
        d.Click(IDC_ONOFF);
        EXPECT_EQ(reader.Lines(), (Lines{"1010 focused off", "1020 focused on"}));

        reader.Clear();
        d.DragSlider(IDC_VOLUME, 1000);
        EXPECT_EQ(reader.Lines("1017 value"), (Lines{"1017 value 1000"}));

        reader.Clear();
        d.ChooseRow(IDC_TEMPO_LIST, u"120 Moderato/Allegro");
        EXPECT_EQ(reader.Lines("1000 row").size(), 1u);
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(reader.Lines().back(), "102 closing");
}

TEST(Accessibility, TypingATempoReportsTheTextOfItsNameAndTheCaret) {
    AppHarness app;
    AccessibleRecorder reader;
    app.Run([&](Driver& d) {
        d.Click(IDC_NO_FIXED_SCALE);
        EXPECT_EQ(reader.Lines("1036 visible"), (Lines{"1036 visible on"}));
        d.Focus(IDC_TEMPO_VALUE);
        d.Item(IDC_TEMPO_VALUE).UserSetText(u"");
        d.Idle();
        reader.Clear();
        d.Type(u"1");
        EXPECT_EQ(reader.Lines("1036 text"), (Lines{"1036 text \"1\""}));
        EXPECT_EQ(reader.Lines("1036 caret"), (Lines{"1036 caret 1"}));
        d.Type(u"2");  // 12: still Largo, as the emptied field was named
        EXPECT_TRUE(reader.Lines("1030").empty());
        d.Type(u"0");
        EXPECT_EQ(reader.Lines("1030 text"), (Lines{"1030 text \"Moderato/Allegro\""}));
        d.Key(VK_ESCAPE);
    });
}

TEST(Accessibility, TabReportsFocusInTabOrder) {
    AppHarness app;
    AccessibleRecorder reader;
    app.Run([&](Driver& d) {
        std::vector<int> order;
        for (ui::Control* stop : d.Window().TabStops())
            order.push_back(stop->Id());
        reader.Clear();
        for (std::size_t i = 0; i < order.size(); ++i)
            d.Key(VK_TAB);
        Lines expected;
        for (std::size_t i = 1; i <= order.size(); ++i)
            expected.push_back(std::to_string(order[i % order.size()]) + " focused on");
        Lines focused;
        for (const auto& line : reader.Lines())
            if (line.ends_with(" focused on"))
                focused.push_back(line);
        EXPECT_EQ(focused, expected);
        d.Key(VK_ESCAPE);
    });
}

TEST(Accessibility, AnEmptyPresetOpensAnAlertWithItsText) {
    AppHarness app;
    AccessibleRecorder reader;
    app.Run([&](Driver& d) {
        d.Click(IDC_PRESET_4);
        d.Key(VK_ESCAPE);
    });
    ASSERT_EQ(reader.Alerts().size(), 1u);
    const ui::AccessibleAlert& alert = reader.Alerts()[0];
    EXPECT_EQ(alert.window.role, Role::Alert);
    EXPECT_EQ(alert.window.name, CString(u"Warning"));
    EXPECT_EQ(alert.children[0].text, CString(u"This preset is empty"));
    EXPECT_EQ(alert.children[1].name, CString(u"OK"));
    EXPECT_TRUE(alert.children[1].Has(ui::kStateDefault));
    EXPECT_EQ(reader.Lines("alert"), (Lines{"alert \"This preset is empty\" opened",
                                            "alert \"This preset is empty\" closed"}));
}

TEST(Accessibility, DialogsReportOpeningAndTheOwnersActivation) {
    AppHarness app;
    AccessibleRecorder reader;
    app.ThenInNextDialog([&](Driver& about) {
        EXPECT_FALSE(about.Window().Owner()->IsEnabled());
        about.Key(VK_RETURN);
    });
    app.Run([&](Driver& d) {
        reader.Clear();
        EXPECT_TRUE(d.ChooseSystemMenuItem(u'a'));
        d.Key(VK_ESCAPE);
    });
    const Lines windows = [&] {
        Lines out;
        for (const auto& line : reader.Lines())
            if (line.rfind("10", 0) == 0 && line.size() > 4 && line[3] == ' ' &&
                (line.find("active") != std::string::npos ||
                 line.find("open") != std::string::npos ||
                 line.find("closing") != std::string::npos))
                out.push_back(line);
        return out;
    }();
    EXPECT_EQ(windows, (Lines{"102 active off", "100 opened", "100 active off", "100 closing",
                              "102 active on", "102 active off", "102 closing"}));
}

}  // namespace
