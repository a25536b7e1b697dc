// Recalling presets with the buttons "1" to "8": what comes back on screen, how the click starts,
// and what a missing, locked or short bank file does.
#include <gtest/gtest.h>

#include "audio/beat_clock.h"
#include "platform/file.h"
#include "tests/app/preset_session.h"

#ifndef _WIN32
#include <sys/stat.h>

#include "tests/support/child_process.h"
#endif

namespace preset_tests {
namespace {

TEST(PresetRecall, AnEmptyPresetWarnsAndChangesNothing) {
    for (const bool clicking : {false, true}) {
        SCOPED_TRACE(clicking ? "clicking" : "stopped");
        AppHarness app;
        app.Run([&](Driver& d) {
            d.ChooseRow(IDC_TEMPO_LIST, u"132 Allegro");
            if (clicking)
                d.Click(IDC_ONOFF);
            app.Advance(1000);
            const Shown before = Look(app, d);
            d.Click(IDC_PRESET_3);
            EXPECT_EQ(Look(app, d), before);
            EXPECT_EQ(MainDialog(d).m_strTempoCombo, CString(u"132 Allegro"));
            d.Key(VK_ESCAPE);
        });
        ASSERT_EQ(app.ui.MessageBoxes().size(), 1u);
        const auto& box = app.ui.MessageBoxes()[0];
        EXPECT_EQ(box.text, CString(u"This preset is empty"));
        EXPECT_EQ(box.caption, CString(u"Warning"));
        EXPECT_EQ(box.type, MB_OK);
        EXPECT_EQ(box.ownerCaption, CString(u"Vorla Metronome 2007.11.11"));
    }
}

TEST(PresetRecall, ASavedPresetStartsTheClickOneIntervalLaterAtItsTempo) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.ChooseRow(IDC_TEMPO_LIST, u"120 Moderato/Allegro");
        SavePreset(app, d, 2);
        d.ChooseRow(IDC_TEMPO_LIST, u"69 Adagio");
        app.Advance(1000);
        d.Click(IDC_PRESET_2);
        EXPECT_TRUE(MainDialog(d).m_bRunning);
        EXPECT_EQ(MainDialog(d).m_nBeatPeriodMs, 500);
        EXPECT_EQ(d.CurSel(IDC_TEMPO_LIST), 26);
        EXPECT_EQ(MainDialog(d).m_strTempoCombo, CString(u"120 Moderato/Allegro"));
        app.Advance(1000);
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(app.Calls("timeSetEvent"), (Texts{"timeSetEvent(500,1,TIME_PERIODIC) -> 1"}));
    // Nothing at the press itself; the counter stood at 0, so the first click is the accent.
    EXPECT_EQ(app.Clicks(), (Texts{"1500:Metronome1", "2000:Metronome1"}));
}

TEST(PresetRecall, WhileClickingReplacesTheTimerAndKeepsTheCount) {
    AppHarness app;
    WriteBank(1, ScalePreset(26, 500));  // 4/4 at 120
    app.Run([&](Driver& d) {
        d.Click(IDC_SIGNATURE_4_4);
        d.Click(IDC_ONOFF);  // accent at 0, regular at 600
        app.Advance(700);
        d.Click(IDC_PRESET_1);
        app.Advance(1500);
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(app.Calls("timeSetEvent"), (Texts{"timeSetEvent(600,1,TIME_PERIODIC) -> 1",
                                                "timeSetEvent(500,1,TIME_PERIODIC) -> 2"}));
    EXPECT_EQ(app.Calls("timeKillEvent").front(), "timeKillEvent(1)");
    // Beats 2 and 3 of the measure follow at the new interval, then the accent.
    EXPECT_EQ(app.Clicks(), (Texts{"0:Metronome1", "600:Metronome2", "1200:Metronome2",
                                   "1700:Metronome2", "2200:Metronome1"}));
}

TEST(PresetRecall, AFreeTempoPresetComesBackInFreeEntry) {
    AppHarness app;
    CBank bank = AndantePreset();
    bank.m_bFreeTempo = 1;
    bank.m_strValue = u"137";
    bank.m_strName = u"Allegro";
    bank.m_nBpm = 137;
    bank.m_nPeriodMs = 437;
    bank.m_nScaleRow = 21;
    WriteBank(6, bank);
    app.Run([&](Driver& d) {
        d.ChooseRow(IDC_TEMPO_LIST, u"50 Largo");
        d.DragSlider(IDC_VOLUME, 1234);
        d.Click(IDC_PRESET_6);
        EXPECT_EQ(d.Check(IDC_NO_FIXED_SCALE), 1);
        EXPECT_FALSE(d.Visible(IDC_TEMPO_LIST));
        EXPECT_TRUE(d.Visible(IDC_TEMPO_VALUE));
        EXPECT_TRUE(d.Visible(IDC_TEMPO_NAME));
        EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u"137"));
        EXPECT_EQ(d.Text(IDC_TEMPO_NAME), CString(u"Allegro"));
        EXPECT_EQ(MainDialog(d).m_nTempoBpm, 137);
        EXPECT_EQ(d.SliderPos(IDC_VOLUME), 1234);
        // The list keeps what it showed; the periods of the two modes are not part of a preset.
        EXPECT_EQ(MainDialog(d).m_strTempoCombo, CString(u"50 Largo"));
        EXPECT_EQ(MainDialog(d).m_nScalePeriodMs, 600);
        EXPECT_EQ(MainDialog(d).m_nFreePeriodMs, 600);
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(app.Calls("timeSetEvent"), (Texts{"timeSetEvent(437,1,TIME_PERIODIC) -> 1"}));
}

TEST(PresetRecall, AScalePresetComesBackWithItsRowFromEitherMode) {
    for (const bool fromFreeEntry : {false, true}) {
        SCOPED_TRACE(fromFreeEntry ? "from free entry" : "from the scale");
        AppHarness app;
        app.Run([&](Driver& d) {
            d.ChooseRow(IDC_TEMPO_LIST, u"84 Andante");
            SavePreset(app, d, 7);
            d.ChooseRow(IDC_TEMPO_LIST, u"160 Allegro");
            if (fromFreeEntry)
                d.Click(IDC_NO_FIXED_SCALE);
            // Straight from the handler: the slider's next repaint pulls the list text anyway.
            MainDialog(d).OnBank7();
            EXPECT_EQ(MainDialog(d).m_strTempoCombo, CString(u"84 Andante"));
            d.Click(IDC_PRESET_7);
            EXPECT_EQ(d.CurSel(IDC_TEMPO_LIST), 17);
            EXPECT_EQ(MainDialog(d).m_strTempoCombo, CString(u"84 Andante"));
            EXPECT_EQ(MainDialog(d).m_nBeatPeriodMs, 714);
            EXPECT_EQ(d.Check(IDC_NO_FIXED_SCALE), 0);
            EXPECT_TRUE(d.Visible(IDC_TEMPO_LIST));
            EXPECT_FALSE(d.Visible(IDC_TEMPO_VALUE));
            EXPECT_FALSE(d.Visible(IDC_TEMPO_NAME));
            d.Key(VK_ESCAPE);
        });
    }
}

TEST(PresetRecall, FourEighthsComesBackWhetherStoredFoldedOrNot) {
    for (const std::int32_t stored : {3, 9}) {
        SCOPED_TRACE(testing::Message() << "stored signature " << stored);
        AppHarness app;
        CBank bank = ScalePreset(21, 600);
        bank.m_nSignature = stored;
        bank.m_bEighthNotes = 1;
        WriteBank(8, bank);
        app.Run([&](Driver& d) {
            d.Click(IDC_SIGNATURE_2_4);
            d.Click(IDC_PRESET_8);
            EXPECT_EQ(d.SelectedRadio(IDC_SIGNATURE_1_4), IDC_SIGNATURE_4_8) << stored;
            // The volume slider's repaint pulls the radios, so the stored form may not last.
            EXPECT_EQ(FoldSignature(g_nSignature.load()), 3);
            EXPECT_EQ(MainDialog(d).m_bEighths, 1);
            d.Key(VK_ESCAPE);
        });
        EXPECT_EQ(app.Calls("timeSetEvent"), (Texts{"timeSetEvent(300,1,TIME_PERIODIC) -> 1"}));
    }
}

TEST(PresetRecall, CommentsWithLineBreaksComeBackWhole) {
    AppHarness app;
    app.Run([&](Driver& d) {
        SetComments(d, u"");
        d.Type(u"Verse 92\rChorus faster\r");
        const CString typed = d.Text(IDC_COMMENTS);
        EXPECT_EQ(typed, CString(u"Verse 92\r\nChorus faster\r\n"));
        SavePreset(app, d, 4);
        SetComments(d, u"something else");
        d.Click(IDC_PRESET_4);
        EXPECT_EQ(d.Text(IDC_COMMENTS), typed);
        EXPECT_EQ(MainDialog(d).m_strComments, typed);
        d.Key(VK_ESCAPE);
    });
}

// A comment longer than what may be typed, as another program or an older version may have
// stored: it comes back whole, may be shortened but not lengthened, and is saved back whole.
TEST(PresetRecall, ACommentBeyondTheTypingLimitComesBackWholeAndIsSavedWhole) {
    std::u16string longText;
    for (int i = 0; longText.size() < 100000; ++i)
        longText += u"bar " + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) + u"\r\n";
    AppHarness app;
    CBank stored = AndantePreset();
    stored.m_strNotes = CString(longText);
    WriteBank(2, stored);
    app.Run([&](Driver& d) {
        d.Click(IDC_PRESET_2);
        EXPECT_EQ(d.Text(IDC_COMMENTS), CString(longText));
        d.Focus(IDC_COMMENTS);
        d.Key(VK_END, ui::kControl);
        d.Type(u"x");
        EXPECT_EQ(d.Text(IDC_COMMENTS), CString(longText));
        d.Key(VK_BACK);  // the last line break
        EXPECT_EQ(d.Text(IDC_COMMENTS), CString(longText.substr(0, longText.size() - 2)));
        SavePreset(app, d, 3);
        d.Key(VK_ESCAPE);
    });
    CBank saved;
    Load(ReadWholeFile(BankPath(3)), saved);
    EXPECT_EQ(saved.m_strNotes, CString(longText.substr(0, longText.size() - 2)));
}

TEST(PresetRecall, AToneRowPresetLoopsTheTone) {
    for (const bool clicking : {false, true}) {
        SCOPED_TRACE(clicking ? "clicking" : "stopped");
        AppHarness app;
        CBank bank = ScalePreset(39, -1);
        bank.m_bEighthNotes = clicking ? 1 : 0;  // an x/8 tone preset sounds the tone just the same
        WriteBank(5, bank);
        app.Run([&](Driver& d) {
            if (clicking)
                d.Click(IDC_ONOFF);
            app.Advance(1000);
            d.Click(IDC_PRESET_5);
            EXPECT_TRUE(MainDialog(d).m_bRunning);
            EXPECT_EQ(MainDialog(d).m_nBeatPeriodMs, -1);
            EXPECT_EQ(MainDialog(d).m_strTempoCombo, CString(u"A4 TONE (440 Hz)"));
            EXPECT_EQ(app.fake.timers.ActiveTimers(), 0u);
            // The enabled state of Tap and "No fixed scale" is not part of a preset.
            EXPECT_TRUE(d.Enabled(IDC_TAP));
            EXPECT_TRUE(d.Enabled(IDC_NO_FIXED_SCALE));
            app.Advance(2000);
            d.Click(IDC_ONOFF);  // off: the tone stops
            EXPECT_FALSE(MainDialog(d).m_bRunning);
            d.Key(VK_ESCAPE);
        });
        Texts sounds;
        for (const auto& s : app.Sounds())
            sounds.push_back(std::to_string(s.timeMs) + ":" + s.name + "/" +
                             std::to_string(s.flags));
        ASSERT_GE(sounds.size(), 3u);
        const Texts tail(sounds.end() - 3, sounds.end());
        EXPECT_EQ(tail, (Texts{"1000:NULL/1", "1000:440Hz/13", "3000:NULL/1"}));
        EXPECT_EQ(app.Calls("timeSetEvent").size(), clicking ? 1u : 0u);
    }
}

TEST(PresetRecall, LeavesTheEnabledStateOfTapAndFreeEntryAsItWas) {
    AppHarness app;
    WriteBank(2, ScalePreset(26, 500));
    app.Run([&](Driver& d) {
        d.ChooseRow(IDC_TEMPO_LIST, u"A4 TONE (440 Hz)");
        d.Click(IDC_PRESET_2);
        EXPECT_EQ(d.CurSel(IDC_TEMPO_LIST), 26);
        EXPECT_FALSE(d.Enabled(IDC_TAP));
        EXPECT_FALSE(d.Enabled(IDC_NO_FIXED_SCALE));
        d.Key(VK_ESCAPE);
    });
}

// Values outside what the dialog and the click can take are refused as a damaged file is: nothing
// changes, and the stop-icon box names the file. Taken over, they would leave the program "On" and
// silent, and the next save would spread them.
TEST(PresetRecall, RefusesValuesTheClickCannotPlay) {
    const struct {
        const char* what;
        void (*spoil)(CBank&);
    } cases[] = {
        {"sound 77", [](CBank& b) { b.m_nSound = 77; }},
        {"sound -1", [](CBank& b) { b.m_nSound = -1; }},
        {"signature 99", [](CBank& b) { b.m_nSignature = 99; }},
        {"signature -1", [](CBank& b) { b.m_nSignature = -1; }},
        {"row 40 on the scale", [](CBank& b) { b.m_nScaleRow = 40; }},
        {"row -1 on the scale", [](CBank& b) { b.m_nScaleRow = -1; }},
        {"period 0", [](CBank& b) { b.m_nPeriodMs = 0; }},
        {"period -2", [](CBank& b) { b.m_nPeriodMs = -2; }},
        {"period 1 in x/8", [](CBank& b) { b.m_nPeriodMs = 1, b.m_bEighthNotes = 1; }},
        {"period 1000001", [](CBank& b) { b.m_nPeriodMs = 1000001; }},
        {"no fixed scale 2", [](CBank& b) { b.m_bFreeTempo = 2; }},
    };
    for (const auto& c : cases) {
        AppHarness app;
        CBank bank = ScalePreset(26, 500);
        c.spoil(bank);
        WriteBank(4, bank);
        app.Run([&](Driver& d) {
            d.ChooseRow(IDC_TEMPO_LIST, u"84 Andante");
            d.Click(IDC_ONOFF);
            app.Advance(1000);
            const Shown before = Look(app, d);
            d.Click(IDC_PRESET_4);
            EXPECT_EQ(Look(app, d), before) << c.what;
            EXPECT_EQ(MainDialog(d).m_strTempoCombo, CString(u"84 Andante"));
            app.Advance(1500);
            d.Key(VK_ESCAPE);
        });
        ASSERT_EQ(app.ui.MessageBoxes().size(), 1u) << c.what;
        const auto& box = app.ui.MessageBoxes()[0];
        EXPECT_EQ(box.type, MB_OK | MB_ICONSTOP);
        EXPECT_FALSE(box.caption.IsEmpty());
        EXPECT_NE(box.text.ToUtf8().find(BankPath(4).string()), std::string::npos) << box.text;
        // The old click runs on at 714 ms: 0, 714, 1428 and 2142 up to 2500 ms.
        EXPECT_EQ(app.Clicks().size(), 4u) << c.what;
    }
}

// The free-entry fields go into a three-digit field and set the click: texts it could never hold,
// or a BPM other than the text's, are refused as unplayable values are.
TEST(PresetRecall, RefusesFreeEntryFieldsTheTempoFieldCannotHold) {
    const struct {
        const char16_t* value;
        std::int32_t bpm, periodMs;
    } cases[] = {
        {u"999", 999, 600},
        {u"12345678901234567890", 100, 600},
        {u"100", 120, 600},
        {u"100", 100, 60001},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.value).ToUtf8());
        AppHarness app;
        CBank bank = AndantePreset();
        bank.m_bFreeTempo = 1;
        bank.m_strName = u"Weird";
        bank.m_strValue = c.value;
        bank.m_nBpm = c.bpm;
        bank.m_nPeriodMs = c.periodMs;
        WriteBank(5, bank);
        app.Run([&](Driver& d) {
            d.ChooseRow(IDC_TEMPO_LIST, u"84 Andante");
            d.Click(IDC_ONOFF);
            const Shown before = Look(app, d);
            d.Click(IDC_PRESET_5);
            EXPECT_EQ(Look(app, d), before);
            EXPECT_EQ(MainDialog(d).m_nTempoBpm, 100);
            d.Key(VK_ESCAPE);
        });
        ASSERT_EQ(app.ui.MessageBoxes().size(), 1u);
        const auto& box = app.ui.MessageBoxes()[0];
        EXPECT_EQ(box.type, MB_OK | MB_ICONSTOP);
        EXPECT_NE(box.text.ToUtf8().find(BankPath(5).string()), std::string::npos) << box.text;
    }
}

// Ticking "No fixed scale" after a recall brings back the free period of before, not the one the
// shown text gives; a save stores both, and the preset must come back as it was saved.
TEST(PresetRecall, AFreeEntryPresetSavedAfterARecallComesBack) {
    AppHarness app;
    WriteBank(1, ScalePreset(0, 1500));
    app.Run([&](Driver& d) {
        d.Click(IDC_NO_FIXED_SCALE);
        d.Item(IDC_TEMPO_VALUE).UserSetText(u"120");
        d.Idle();
        d.Click(IDC_PRESET_1);
        d.Click(IDC_NO_FIXED_SCALE);
        ASSERT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u"120"));
        ASSERT_EQ(MainDialog(d).m_nBeatPeriodMs, 600);
        SavePreset(app, d, 2);
        d.Click(IDC_PRESET_1);
        d.Click(IDC_PRESET_2);
        EXPECT_EQ(d.Check(IDC_NO_FIXED_SCALE), 1);
        EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u"120"));
        EXPECT_EQ(MainDialog(d).m_nBeatPeriodMs, 600);
        d.Key(VK_ESCAPE);
    });
    EXPECT_TRUE(app.ui.MessageBoxes().empty());
}

// What the check must let through: a free-tempo preset keeps whatever row the hidden list had,
// every signature and sound of the radios, and the longest interval the timer takes.
TEST(PresetRecall, TakesEveryValueTheProgramCanPlay) {
    CBank free = ScalePreset(-1, 1000);
    free.m_bFreeTempo = 1;
    free.m_nSignature = 11;
    free.m_nSound = 3;
    CBank slow = ScalePreset(0, 1000000);
    slow.m_nSignature = 0;
    CBank eighths = ScalePreset(39, 2);
    eighths.m_bEighthNotes = 1;
    for (const CBank& bank : {free, slow, eighths}) {
        AppHarness app;
        WriteBank(7, bank);
        app.Run([&](Driver& d) {
            d.Click(IDC_PRESET_7);
            EXPECT_EQ(MainDialog(d).m_nBeatPeriodMs, bank.m_nPeriodMs);
            EXPECT_TRUE(MainDialog(d).m_bRunning);
            d.Key(VK_ESCAPE);
        });
        EXPECT_TRUE(app.ui.MessageBoxes().empty()) << bank.m_nPeriodMs;
    }
}

TEST(PresetRecall, AShortFileShowsTheEndOfFileErrorAndChangesNothing) {
    const Bytes whole = Store(ScalePreset(26, 500));
    for (const std::size_t kept : {std::size_t{3}, whole.size() - 1}) {
        SCOPED_TRACE(testing::Message() << kept << " bytes kept");
        AppHarness app;
        WriteWholeFile(BankPath(1), Bytes(whole.begin(), whole.begin() + kept));
        app.Run([&](Driver& d) {
            d.ChooseRow(IDC_TEMPO_LIST, u"84 Andante");
            d.Click(IDC_ONOFF);
            app.Advance(1000);
            const Shown before = Look(app, d);
            d.Click(IDC_PRESET_1);
            EXPECT_EQ(Look(app, d), before) << kept;
            EXPECT_EQ(MainDialog(d).m_strTempoCombo, CString(u"84 Andante"));
            d.Key(VK_ESCAPE);
        });
        ASSERT_EQ(app.ui.MessageBoxes().size(), 1u);
        const auto& box = app.ui.MessageBoxes()[0];
        EXPECT_EQ(box.text,
                  CString(u"An attempt was made to access an unnamed file past its end."));
        EXPECT_EQ(box.type, MB_OK | MB_ICONSTOP);
        EXPECT_FALSE(box.caption.IsEmpty());
        // The file was closed again: another opener can hold it exclusively.
        CFile again;
        EXPECT_TRUE(again.Open(CString::FromUtf8(BankPath(1).string()),
                               CFile::modeRead | CFile::shareExclusive));
    }
}

// A recall of a file that cannot be opened does nothing and says nothing; a save over it keeps
// the file as it is and says why, naming it.
void ExpectOneStopBoxNaming(AppHarness& app, int preset, const char* reason) {
    ASSERT_EQ(app.ui.MessageBoxes().size(), 1u);
    const auto& box = app.ui.MessageBoxes()[0];
    EXPECT_EQ(box.type, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(box.ownerCaption, CString(u"Vorla Metronome 2007.11.11"));
    EXPECT_FALSE(box.caption.IsEmpty());
    const std::string text = box.text.ToUtf8();
    EXPECT_NE(text.find(BankPath(preset).string()), std::string::npos) << text;
    EXPECT_NE(text.find(reason), std::string::npos) << text;
}

TEST(PresetRecall, AFileHeldByAnotherOpenerIsLeftAlone) {
    AppHarness app;
    WriteBank(2, ScalePreset(26, 500));
    const Bytes stored = ReadWholeFile(BankPath(2));
    CFile holder;
    ASSERT_TRUE(holder.Open(u"bank2.dat", CFile::modeRead | CFile::shareExclusive));
    app.Run([&](Driver& d) {
        const Shown before = Look(app, d);
        d.Click(IDC_PRESET_2);
        EXPECT_EQ(Look(app, d), before);
        EXPECT_TRUE(app.ui.MessageBoxes().empty());
        SavePreset(app, d, 2);
        d.Key(VK_ESCAPE);
    });
    ExpectOneStopBoxNaming(app, 2, "in use by another program");
    holder.Close();  // on Windows the hold keeps every other reader out too
    EXPECT_EQ(ReadWholeFile(BankPath(2)), stored);
}

TEST(PresetRecall, AFolderNamedLikeABankFileIsLeftAlone) {
    AppHarness app;
    std::filesystem::create_directory(BankPath(3));
    app.Run([&](Driver& d) {
        const Shown before = Look(app, d);
        d.Click(IDC_PRESET_3);
        EXPECT_EQ(Look(app, d), before);
        EXPECT_TRUE(app.ui.MessageBoxes().empty());
        SavePreset(app, d, 3);
        d.Key(VK_ESCAPE);
    });
    ExpectOneStopBoxNaming(app, 3, "is a folder, a device or a pipe");
    EXPECT_TRUE(std::filesystem::is_directory(BankPath(3)));
}

#ifndef _WIN32
// A pipe or a device in a bank file's place must not hold the window up: the press is done at
// once. In a child process, so that a blocking open fails the test rather than hanging it.
TEST(PresetRecall, APipeOrADeviceIsNotWaitedOn) {
    const int status = RunInChild([] {
        AppHarness app;
        if (::mkfifo(BankPath(1).c_str(), 0666) != 0)
            return 2;
        std::filesystem::create_symlink("/dev/zero", BankPath(2));
        bool unchanged = true;
        app.Run([&](Driver& d) {
            const Shown before = Look(app, d);
            d.Click(IDC_PRESET_1);
            d.Click(IDC_PRESET_2);
            unchanged = Look(app, d) == before && app.ui.MessageBoxes().empty();
            SavePreset(app, d, 1);
            SavePreset(app, d, 2);
            d.Key(VK_ESCAPE);
        });
        const bool kept =
            std::filesystem::status(BankPath(1)).type() == std::filesystem::file_type::fifo &&
            std::filesystem::is_symlink(BankPath(2));
        return unchanged && kept && app.ui.MessageBoxes().size() == 2 ? 0 : 1;
    });
    EXPECT_EQ(status, 0) << (status == -1 ? "a press blocked" : "");
}
#endif

TEST(PresetRecall, FilesAreFoundInTheFolderCurrentAtThePress) {
    AppHarness app;
    const auto first = std::filesystem::current_path();
    const auto second = first / "elsewhere";
    std::filesystem::create_directory(second);
    WriteBank(1, ScalePreset(26, 500));
    app.Run([&](Driver& d) {
        std::filesystem::current_path(second);
        d.Click(IDC_PRESET_1);  // nothing here yet
        ASSERT_EQ(app.ui.MessageBoxes().size(), 1u);
        d.ChooseRow(IDC_TEMPO_LIST, u"40 Largo");
        SavePreset(app, d, 1);
        std::filesystem::current_path(first);
        d.Click(IDC_PRESET_1);
        EXPECT_EQ(d.CurSel(IDC_TEMPO_LIST), 26);
        std::filesystem::current_path(second);
        d.Click(IDC_PRESET_1);
        EXPECT_EQ(d.CurSel(IDC_TEMPO_LIST), 0);
        std::filesystem::current_path(first);
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(ReadWholeFile(first / "bank1.dat"), Store(ScalePreset(26, 500)));
    EXPECT_EQ(app.ui.MessageBoxes().size(), 1u);
}

}  // namespace
}  // namespace preset_tests
