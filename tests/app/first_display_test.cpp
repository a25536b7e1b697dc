// What the main dialog shows when it opens, and what it asks of the platform while opening.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>

#include "tests/support/child_process.h"
#endif

#include "app/metronome_dlg.h"
#include "audio/beat_clock.h"
#include "res/resource_ids.h"
#include "res/resources.h"
#include "support/app_harness.h"
#include "support/wave_file.h"
#include "ui/win_app.h"

using test_support::AppHarness;
using ui::headless::Driver;

namespace {

TEST(FirstDisplay, ShowsTheDefaultsAndSoundsNothing) {
    AppHarness app;
    app.fake.waveOut.SetVolumeDirectly(0x1234ABCD);  // right channel 0x1234, left 0xABCD
    app.Run([&](Driver& d) {
        EXPECT_EQ(d.Window().Text(), CString(u"Vorla Metronome 2007.11.11"));
        EXPECT_EQ(d.CurSel(IDC_TEMPO_LIST), 21);
        EXPECT_EQ(d.Text(IDC_TEMPO_LIST), CString(u"100 Andante"));
        EXPECT_EQ(d.List(IDC_TEMPO_LIST).Rows().size(), 40u);
        EXPECT_EQ(d.SelectedRadio(IDC_SOUND_METRONOME), IDC_SOUND_METRONOME);
        EXPECT_EQ(d.SelectedRadio(IDC_SIGNATURE_1_4), IDC_SIGNATURE_1_4);
        EXPECT_EQ(d.Check(IDC_NO_FIXED_SCALE), 0);
        EXPECT_EQ(d.SliderPos(IDC_VOLUME), 0x1234);
        EXPECT_EQ(d.Slider(IDC_VOLUME).RangeMax(), 65535);
        EXPECT_EQ(d.Text(IDC_COMMENTS), CString(u"Place here comments for 1...8 user presets"));
        EXPECT_FALSE(d.Visible(IDC_TEMPO_VALUE));
        EXPECT_FALSE(d.Visible(IDC_TEMPO_NAME));
        EXPECT_EQ(d.Text(IDC_TEMPO_VALUE), CString(u"100"));
        EXPECT_EQ(d.Text(IDC_TEMPO_NAME), CString(u"Andante"));
        EXPECT_EQ(d.Edit(IDC_TEMPO_VALUE).TextLimit(), 3);
        EXPECT_EQ(d.FocusId(), IDC_TEMPO_LIST);
        EXPECT_NE(d.Window().Icon(true), nullptr);
        EXPECT_EQ(d.Window().Icon(true), d.Window().Icon(false));
        app.Advance(5000);
        d.Key(VK_ESCAPE);
    });
    EXPECT_TRUE(app.Sounds().empty());
    EXPECT_TRUE(app.Calls("timeSetEvent").empty());
}

TEST(FirstDisplay, OpensTheDeviceReadsTheRightChannelAndSetsBothOnFirstPaint) {
    AppHarness app;
    app.fake.waveOut.SetVolumeDirectly(0x8000FFFF);
    app.Run([&](Driver& d) { d.Key(VK_ESCAPE); });
    const auto calls = app.Calls("waveOut");
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0], "waveOutOpen(WAVE_MAPPER,1,1ch,44100Hz,16bit)");
    EXPECT_EQ(calls[1], "waveOutGetVolume");
    EXPECT_EQ(calls[2], "waveOutSetVolume(0x80008000)");
    const WAVEFORMATEX& f = app.fake.waveOut.LastFormat();
    EXPECT_EQ(f.nAvgBytesPerSec, 88200u);
    EXPECT_EQ(f.nBlockAlign, 2);
    EXPECT_EQ(f.cbSize, 0);
}

TEST(FirstDisplay, SystemMenuEndsWithSeparatorAndAbout) {
    AppHarness app;
    app.Run([&](Driver& d) {
        const auto& menu = d.Window().SystemMenu();
        ASSERT_GE(menu.size(), 2u);
        EXPECT_EQ(menu[menu.size() - 2].flags, MF_SEPARATOR);
        EXPECT_EQ(menu.back().id, 16u);
        EXPECT_EQ(menu.back().text, CString(u"&About Vorla Metronome..."));
        d.Key(VK_ESCAPE);
    });
}

TEST(FirstDisplay, WithoutTheAboutStringTheSystemMenuGetsNothing) {
    AppHarness app;
    static ui::ResourceTable withoutStrings;
    withoutStrings = res::Table();
    withoutStrings.findString = [](UINT) -> const char16_t* { return nullptr; };
    ui::InstallResources(withoutStrings);
    app.Run([&](Driver& d) {
        const auto& menu = d.Window().SystemMenu();
        ASSERT_FALSE(menu.empty());
        EXPECT_EQ(menu.back().id, SC_CLOSE);
        d.Key(VK_ESCAPE);
    });
    ui::InstallResources(res::Table());
}

TEST(FirstDisplay, RadioIndexesFollowTemplateOrderNotScreenOrder) {
    AppHarness app;
    app.Run([&](Driver& d) {
        const std::pair<int, int> kinds[] = {{IDC_SOUND_DIGITAL, 1},
                                             {IDC_SOUND_RIM, 3},
                                             {IDC_SOUND_HIHAT, 2},
                                             {IDC_SOUND_METRONOME, 0}};
        for (auto [id, index] : kinds) {
            SCOPED_TRACE(testing::Message() << "sound radio " << id);
            d.Click(id);
            EXPECT_EQ(g_nSoundKind.load(), index) << id;
        }
        const std::pair<int, int> signatures[] = {{IDC_SIGNATURE_6_4, 5},
                                                  {IDC_SIGNATURE_1_8, 6},
                                                  {IDC_SIGNATURE_6_8, 11},
                                                  {IDC_SIGNATURE_2_4, 1}};
        for (auto [id, index] : signatures) {
            SCOPED_TRACE(testing::Message() << "signature radio " << id);
            d.Click(id);
            EXPECT_EQ(g_nSignature.load(), index) << id;
        }
        d.Key(VK_ESCAPE);
    });
}

TEST(FirstDisplay, TabOrderIsTemplateOrderWithPresetOneAfterSix) {
    AppHarness app;
    app.Run([&](Driver& d) {
        std::vector<int> order;
        for (int i = 0; i < 30 && (order.empty() || d.FocusId() != order.front()); ++i) {
            order.push_back(d.FocusId());
            d.Key(VK_TAB);
        }
        const std::vector<int> expected = {IDC_TEMPO_LIST,     IDC_ONOFF,      IDC_SOUND_METRONOME,
                                           IDC_SIGNATURE_1_4,  IDC_VOLUME,     IDC_TAP,
                                           IDC_NO_FIXED_SCALE, IDC_PRESET_2,   IDC_PRESET_3,
                                           IDC_PRESET_4,       IDC_PRESET_5,   IDC_PRESET_6,
                                           IDC_PRESET_1,       IDC_PRESET_7,   IDC_PRESET_8,
                                           IDC_COMMENTS,       IDC_SAVE_PRESET};
        EXPECT_EQ(order, expected);
        d.Key(VK_ESCAPE);
    });
}

TEST(FirstDisplay, AMissingOrBrokenSampleLeavesThatSoundSilentAndTheRestWorking) {
    AppHarness app;
    std::filesystem::remove(app.Folder() / "sounds" / "Rim1.wav");
    test_support::WriteFile(app.Folder() / "sounds" / "Rim2.wav", "RIFF\xff\xff\xff\x7fWAVEfmt ");
    auto hat = test_support::MakeWave(std::vector<std::int16_t>(441, 5));
    test_support::WriteFile(app.Folder() / "sounds" / "Hat1.wav", hat.substr(0, hat.size() - 10));
    app.Run([&](Driver& d) {
        d.Click(IDC_SOUND_RIM);
        d.Click(IDC_SIGNATURE_2_4);
        d.Click(IDC_ONOFF);
        app.Advance(1200);
        d.Click(IDC_SOUND_METRONOME);
        app.Advance(600);
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(app.Clicks(),
              (std::vector<std::string>{"0:empty", "600:empty", "1200:empty", "1800:Metronome2"}));
}

#ifndef _WIN32
// Only plain files are read as samples, and no open waits: a pipe, a device or a folder in a
// sound's place leaves that sound silent and the window comes up. In a child process, so that an
// open that blocks fails the test instead of hanging it.
TEST(FirstDisplay, APipeADeviceOrAFolderInASoundsPlaceIsNotWaitedOn) {
    const int status = RunInChild([] {
        AppHarness app;
        const auto sounds = app.Folder() / "sounds";
        std::filesystem::remove(sounds / "Hat1.wav");
        std::filesystem::remove(sounds / "Hat2.wav");
        std::filesystem::remove(sounds / "Rim1.wav");
        if (::mkfifo((sounds / "Hat1.wav").c_str(), 0666) != 0)
            return 2;
        std::filesystem::create_symlink("/dev/zero", sounds / "Hat2.wav");
        std::filesystem::create_directory(sounds / "Rim1.wav");
        app.Run([&](Driver& d) {
            d.Click(IDC_SOUND_HIHAT);
            d.Click(IDC_SIGNATURE_2_4);
            d.Click(IDC_ONOFF);
            app.Advance(600);
            d.Click(IDC_SOUND_RIM);
            app.Advance(1200);
            d.Key(VK_ESCAPE);
        });
        const std::vector<std::string> expected = {"0:empty", "600:empty", "1200:empty",
                                                   "1800:Rim2"};
        return app.Clicks() == expected ? 0 : 1;
    });
    EXPECT_EQ(status, 0) << (status == -1 ? "loading the samples blocked" : "");
}
#endif

}  // namespace
