// Storing presets with the Save button: the bytes of the bank file, the Save dialog's answers, and
// a read-only file, a full disk and a running click.
#include <gtest/gtest.h>

#include "app/save_preset_dlg.h"
#include "platform/file.h"
#include "tests/app/preset_session.h"

namespace preset_tests {
namespace {

// Turns the simulated failures off again when the test ends, whatever happens.
class FaultScope {
  public:
    explicit FaultScope(const platform::FileFaults& faults) { platform::InjectFileFaults(faults); }
    ~FaultScope() { platform::InjectFileFaults({}); }
};

std::vector<std::string> FolderEntries() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::current_path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(PresetStorage, ChoosingFiveWritesBankFiveByteForByte) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.Click(IDC_SIGNATURE_4_4);
        SetComments(d, u"abc");
        SavePreset(app, d, 5);
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(ReadWholeFile(BankPath(5)), AndanteBytes());
    EXPECT_EQ(FolderEntries(), (Texts{"bank5.dat", "sounds"}));
    EXPECT_TRUE(app.ui.MessageBoxes().empty());
}

TEST(PresetStorage, FreeEntryStoresItsTextsAndTheListRowBehindIt) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.ChooseRow(IDC_TEMPO_LIST, u"63 Larghetto");
        d.Click(IDC_SIGNATURE_2_8);
        d.Click(IDC_SOUND_RIM);
        d.Click(IDC_NO_FIXED_SCALE);
        d.Focus(IDC_TEMPO_VALUE);
        d.Item(IDC_TEMPO_VALUE).UserSetText(u"");
        d.Type(u"95");
        SavePreset(app, d, 3);
        d.Key(VK_ESCAPE);
    });
    CBank stored;
    Load(ReadWholeFile(BankPath(3)), stored);
    EXPECT_EQ(stored.m_nPeriodMs, 631);  // 60000 / 95, truncated
    EXPECT_EQ(stored.m_bEighthNotes, 1);
    EXPECT_EQ(stored.m_strValue, CString(u"95"));
    EXPECT_EQ(stored.m_strName, CString(u"Andante"));
    EXPECT_EQ(stored.m_nBpm, 95);
    EXPECT_EQ(stored.m_nScaleRow, 11);  // the hidden list still stands on its row
    EXPECT_EQ(stored.m_bFreeTempo, 1);
    EXPECT_EQ(stored.m_nSignature, 7);
    EXPECT_EQ(stored.m_nSound, 3);
}

TEST(PresetStorage, CancellingTheSaveDialogWritesNothing) {
    const struct {
        const char* how;
        void (*leave)(Driver&);
    } ways[] = {
        {"Cancel", [](Driver& s) { s.Click(IDCANCEL); }},
        {"Escape", [](Driver& s) { s.Key(VK_ESCAPE); }},
        {"close box", [](Driver& s) { s.CloseBox(); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        AppHarness app;
        int chosen = 0, afterwards = 0;
        app.ThenInNextDialog([&](Driver& s) {
            auto& dialog = static_cast<CSBDialog&>(s.Window().Object());
            s.ChooseRow(IDC_PRESET_LIST, u"5");
            chosen = dialog.m_nBank;
            way.leave(s);
            EXPECT_TRUE(s.Ended()) << way.how;
            afterwards = dialog.m_nBank;
        });
        app.Run([&](Driver& d) {
            d.Click(IDC_SAVE_PRESET);
            d.Key(VK_ESCAPE);
        });
        EXPECT_EQ(chosen, 4) << way.how;
        EXPECT_EQ(afterwards, -1) << way.how;
        EXPECT_EQ(FolderEntries(), (Texts{"sounds"})) << way.how;
        EXPECT_TRUE(app.ui.MessageBoxes().empty()) << way.how;
    }
}

TEST(PresetStorage, TheSaveDialogOpensOnPresetOneWithOkFocused) {
    AppHarness app;
    Driver* main = nullptr;
    for (int time = 0; time < 2; ++time) {
        SCOPED_TRACE(testing::Message() << "save " << time + 1);
        app.ThenInNextDialog([&](Driver& s) {
            EXPECT_EQ(s.TemplateId(), IDD_SAVE_PRESET);
            EXPECT_FALSE(main->Window().IsEnabled());  // owned by the main dialog
            EXPECT_EQ(s.Window().Text(), CString(u"Save User Preset"));
            EXPECT_EQ(s.CurSel(IDC_PRESET_LIST), 0);  // whatever was chosen the time before
            EXPECT_EQ(s.FocusId(), IDOK);
            s.ChooseRow(IDC_PRESET_LIST, u"8");
            s.Key(VK_ESCAPE);
        });
    }
    app.ThenInNextDialog([&](Driver& s) { s.Key(VK_RETURN); });
    app.Run([&](Driver& d) {
        main = &d;
        for (int time = 0; time < 3; ++time) {
            SCOPED_TRACE(testing::Message() << "press " << time + 1);
            d.Click(IDC_SAVE_PRESET);
            EXPECT_TRUE(d.Window().IsEnabled());
        }
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(FolderEntries(), (Texts{"bank1.dat", "sounds"}));
}

TEST(PresetStorage, SavingWhileClickingLeavesTheClickAndTheScreenAlone) {
    AppHarness app;
    app.Run([&](Driver& d) {
        d.Click(IDC_SIGNATURE_3_4);
        d.Click(IDC_ONOFF);
        app.Advance(700);
        const Shown before = Look(app, d);
        SavePreset(app, d, 2);
        EXPECT_EQ(Look(app, d), before);
        app.Advance(1200);
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(app.Calls("timeSetEvent").size(), 1u);
    EXPECT_EQ(app.Clicks(),
              (Texts{"0:Metronome1", "600:Metronome2", "1200:Metronome2", "1800:Metronome1"}));
    EXPECT_TRUE(std::filesystem::exists(BankPath(2)));
}

// A save that writes nothing must not look like one that worked.
void ExpectOneStopBoxNaming(AppHarness& app, int preset, const char* reason) {
    ASSERT_EQ(app.ui.MessageBoxes().size(), 1u);
    const auto& box = app.ui.MessageBoxes()[0];
    EXPECT_EQ(box.type, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(box.ownerCaption, CString(u"Vorla Metronome 2007.11.11"));
    const std::string text = box.text.ToUtf8();
    EXPECT_NE(text.find(BankPath(preset).string()), std::string::npos) << text;
    EXPECT_NE(text.find(reason), std::string::npos) << text;
}

TEST(PresetStorage, AReadOnlyPresetIsLeftAloneAndTheBoxSaysSo) {
    AppHarness app;
    WriteBank(6, ScalePreset(26, 500));
    const Bytes stored = ReadWholeFile(BankPath(6));
    std::filesystem::permissions(
        BankPath(6), std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    app.Run([&](Driver& d) {
        const Shown before = Look(app, d);
        SavePreset(app, d, 6);
        EXPECT_EQ(Look(app, d), before);
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(ReadWholeFile(BankPath(6)), stored);
    ExpectOneStopBoxNaming(app, 6, "read-only");
    EXPECT_EQ(FolderEntries(), (Texts{"bank6.dat", "sounds"}));
}

// A folder closed to new files (the temporary file cannot be made) holding a writable bank file:
// the record is written into the file itself, and nothing is said since it was saved.
TEST(PresetStorage, AFolderClosedToNewFilesGetsTheRecordInPlace) {
    AppHarness app;
    CBank old = ScalePreset(26, 500);
    old.m_strNotes = std::u16string(400, u'o');
    WriteBank(3, old);
    app.Run([&](Driver& d) {
        SetComments(d, u"abc");
        d.Click(IDC_SIGNATURE_4_4);
        platform::FileFaults closed;
        closed.failTemporary = true;
        FaultScope faults(closed);
        SavePreset(app, d, 3);
        SavePreset(app, d, 4);  // no file there to write into
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(ReadWholeFile(BankPath(3)), AndanteBytes());
    ExpectOneStopBoxNaming(app, 4, "denied");
    EXPECT_EQ(FolderEntries(), (Texts{"bank3.dat", "sounds"}));
}

#ifndef _WIN32
// The folder the program works in was removed while it ran: nowhere to save, and the box says so.
TEST(PresetStorage, AWorkingFolderRemovedMeanwhileGivesTheBox) {
    AppHarness app;
    const auto home = std::filesystem::current_path();
    app.Run([&](Driver& d) {
        std::filesystem::create_directory(home / "gone");
        std::filesystem::current_path(home / "gone");
        std::filesystem::remove(home / "gone");
        SavePreset(app, d, 1);
        std::filesystem::current_path(home);
        d.Key(VK_ESCAPE);
    });
    ASSERT_EQ(app.ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(app.ui.MessageBoxes()[0].type, MB_OK | MB_ICONSTOP);
    const std::string text = app.ui.MessageBoxes()[0].text.ToUtf8();
    EXPECT_NE(text.find("bank1.dat"), std::string::npos) << text;
    EXPECT_NE(text.find("no longer exists"), std::string::npos) << text;
    EXPECT_EQ(FolderEntries(), (Texts{"sounds"}));
}
#endif

TEST(PresetStorage, AFailedWriteKeepsTheOldPresetAndNamesTheFile) {
    AppHarness app;
    CBank old = ScalePreset(26, 500);
    old.m_strNotes = u"the old preset";
    WriteBank(5, old);
    const Bytes stored = ReadWholeFile(BankPath(5));
    app.Run([&](Driver& d) {
        SetComments(d, std::u16string(300, u'x').c_str());
        platform::FileFaults disk;
        disk.writeLimit = 100;  // the record needs more than 600 bytes
        FaultScope full(disk);
        SavePreset(app, d, 5);
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(ReadWholeFile(BankPath(5)), stored);
    EXPECT_EQ(FolderEntries(), (Texts{"bank5.dat", "sounds"}));  // no temporary file left
    ASSERT_EQ(app.ui.MessageBoxes().size(), 1u);
    const auto& box = app.ui.MessageBoxes()[0];
    EXPECT_EQ(box.type, MB_OK | MB_ICONSTOP);
    EXPECT_NE(box.text.ToUtf8().find(BankPath(5).string()), std::string::npos) << box.text;
    EXPECT_EQ(box.ownerCaption, CString(u"Vorla Metronome 2007.11.11"));
}

#ifndef _WIN32
// Written in place (the folder is closed to new files) and failing part-way: the old preset is
// put back, and the box names the copy of it that was kept before the write began.
TEST(PresetStorage, AFailedInPlaceWriteKeepsTheOldPresetAndSaysWhereItsCopyIs) {
    AppHarness app;
    CBank old = ScalePreset(26, 500);
    old.m_strNotes = std::u16string(400, u'o');
    WriteBank(3, old);
    const Bytes stored = ReadWholeFile(BankPath(3));
    app.Run([&](Driver& d) {
        SetComments(d, std::u16string(300, u'x').c_str());
        platform::FileFaults faults;
        faults.failTemporary = true;
        faults.writeLimit = 100;
        FaultScope closedAndFull(faults);
        SavePreset(app, d, 3);
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(ReadWholeFile(BankPath(3)), stored);
    const auto copy = std::filesystem::current_path() / "bank3.dat.old";
    EXPECT_EQ(ReadWholeFile(copy), stored);
    ASSERT_EQ(app.ui.MessageBoxes().size(), 1u);
    const auto& box = app.ui.MessageBoxes()[0];
    EXPECT_EQ(box.type, MB_OK | MB_ICONSTOP);
    EXPECT_NE(box.text.ToUtf8().find(BankPath(3).string()), std::string::npos) << box.text;
    EXPECT_NE(box.text.ToUtf8().find(copy.string()), std::string::npos) << box.text;
}
#endif

TEST(PresetStorage, AShorterPresetLeavesNoOldTailAndRecallsWhole) {
    AppHarness app;
    CBank old = ScalePreset(26, 500);
    old.m_strNotes = std::u16string(500, u'o');
    WriteBank(4, old);
    app.Run([&](Driver& d) {
        SetComments(d, u"short");
        SavePreset(app, d, 4);
        SetComments(d, u"");
        d.Click(IDC_PRESET_4);
        EXPECT_EQ(d.Text(IDC_COMMENTS), CString(u"short"));
        d.Key(VK_ESCAPE);
    });
    CBank expected = AndantePreset();
    expected.m_nSignature = 0;
    expected.m_strNotes = u"short";
    EXPECT_EQ(ReadWholeFile(BankPath(4)), Store(expected));
}

}  // namespace
}  // namespace preset_tests
