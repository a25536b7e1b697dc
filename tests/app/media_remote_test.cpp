// The desktop's remote and the window's media keys: play, pause and stop as On/Off, next and
// previous through the saved presets, and every change of what the remote shows announced once,
// whoever made it. The bus is a double that records what it was told and sends commands.
#include <gtest/gtest.h>

#include <sstream>

#include "app/media_remote.h"
#include "platform/remote_bus.h"
#include "tests/app/preset_session.h"

namespace preset_tests {
namespace {

using platform::RemoteCommand;
using platform::RemoteState;

class RecordingBus : public platform::RemoteBus {
  public:
    RecordingBus() { platform::InstallRemoteBus(this); }
    ~RecordingBus() override { platform::InstallRemoteBus(nullptr); }

    void Listen(platform::RemoteListener* listener) override { listener_ = listener; }
    void Publish(const RemoteState& state) override { published.push_back(state); }

    // A command as the bus delivers it: from the loop, between the dialog's handlers.
    void Send(Driver& d, RemoteCommand command) {
        if (listener_)
            listener_->OnRemoteCommand(command);
        d.Idle();
    }
    // A question from a remote, which the bus answers from what it was last told.
    void Query() {
        if (listener_)
            listener_->OnRemoteQuery();
    }
    bool Listened() const { return listener_ != nullptr; }
    const RemoteState& Last() const { return published.back(); }

    std::vector<RemoteState> published;

  private:
    platform::RemoteListener* listener_ = nullptr;
};

std::string Describe(const RemoteState& s) {
    std::ostringstream os;
    os << (s.playing ? "Playing" : "Stopped") << " \"" << s.title << "\" " << s.signature
       << (s.canGoPrevious ? " <prev" : "") << (s.canGoNext ? " next>" : "");
    return os.str();
}

std::vector<std::string> Describe(const std::vector<RemoteState>& states) {
    std::vector<std::string> out;
    for (const RemoteState& s : states)
        out.push_back(Describe(s));
    return out;
}

TEST(MediaRemote, PlayPauseStopMapToOnOffAndPlayWhileRunningOrStopWhileOffChangeNothing) {
    RecordingBus bus;
    AppHarness app;
    app.Run([&](Driver& d) {
        bus.Send(d, RemoteCommand::stop);
        bus.Send(d, RemoteCommand::pause);
        EXPECT_TRUE(app.Sounds().empty());
        bus.Send(d, RemoteCommand::playPause);  // at once, as On/Off: the accent, then the timer
        EXPECT_TRUE(MainDialog(d).m_bRunning);
        app.Advance(600);
        bus.Send(d, RemoteCommand::play);
        app.Advance(600);
        bus.Send(d, RemoteCommand::pause);
        EXPECT_FALSE(MainDialog(d).m_bRunning);
        bus.Send(d, RemoteCommand::play);
        app.Advance(600);
        bus.Send(d, RemoteCommand::stop);
        bus.Send(d, RemoteCommand::playPause);
        bus.Send(d, RemoteCommand::playPause);
        d.Key(VK_ESCAPE);
    });
    // At 1/4 every beat is an accent.
    EXPECT_EQ(app.Clicks(), (Texts{"0:Metronome1", "600:Metronome1", "1200:Metronome1",
                                   "1200:Metronome1", "1800:Metronome1", "1800:Metronome1"}));
    EXPECT_EQ(app.Calls("timeSetEvent").size(), 3u);
    EXPECT_EQ(Describe(bus.published),
              (Texts{"Stopped \"100 Andante\" 1/4", "Playing \"100 Andante\" 1/4",
                     "Stopped \"100 Andante\" 1/4", "Playing \"100 Andante\" 1/4",
                     "Stopped \"100 Andante\" 1/4", "Playing \"100 Andante\" 1/4",
                     "Stopped \"100 Andante\" 1/4"}));
    EXPECT_FALSE(bus.Listened()) << "the closed dialog still takes commands";
}

TEST(MediaRemote, ChangesMadeInTheWindowAreAnnouncedOnceEach) {
    RecordingBus bus;
    AppHarness app;
    app.Run([&](Driver& d) {
        d.ChooseRow(IDC_TEMPO_LIST, u"120 Moderato/Allegro");
        d.Click(IDC_SIGNATURE_3_4);
        d.Click(IDC_SIGNATURE_6_8);
        d.Key(VK_RETURN);  // On/Off
        d.DragSlider(IDC_VOLUME, 1000);
        d.Click(IDC_SOUND_RIM);
        d.Click(IDC_NO_FIXED_SCALE);
        d.Focus(IDC_TEMPO_VALUE);
        d.Item(IDC_TEMPO_VALUE).UserSetText(u"137");
        d.Idle();
        d.Click(IDC_NO_FIXED_SCALE);
        app.Advance(5000);
        d.Click(IDC_TAP);
        app.Advance(1000);
        d.Click(IDC_TAP);
        d.ChooseRow(IDC_TEMPO_LIST, u"A4 TONE (440 Hz)");
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(Describe(bus.published),
              (Texts{"Stopped \"100 Andante\" 1/4", "Stopped \"120 Moderato/Allegro\" 1/4",
                     "Stopped \"120 Moderato/Allegro\" 3/4", "Stopped \"120 Moderato/Allegro\" 6/8",
                     "Playing \"120 Moderato/Allegro\" 6/8", "Playing \"100 Andante\" 6/8",
                     "Playing \"137 Allegro\" 6/8", "Playing \"120 Moderato/Allegro\" 6/8",
                     "Playing \"60 Largo/Larghetto\" 6/8", "Playing \"A4 TONE (440 Hz)\" 6/8"}));
}

TEST(MediaRemote, NextAndPreviousRecallTheNeighbouringSavedPresetsAndSkipEmptyOnes) {
    RecordingBus bus;
    AppHarness app;
    WriteBank(2, ScalePreset(26, 500));
    WriteBank(5, ScalePreset(10, 1000));
    WriteBank(7, ScalePreset(30, 462));
    app.Run([&](Driver& d) {
        EXPECT_TRUE(bus.Last().canGoNext);
        EXPECT_FALSE(bus.Last().canGoPrevious);
        bus.Send(d, RemoteCommand::previous);  // before any recall there is nothing before
        EXPECT_FALSE(MainDialog(d).m_bRunning);

        bus.Send(d, RemoteCommand::next);  // as the button "2": the click starts
        EXPECT_TRUE(MainDialog(d).m_bRunning);
        EXPECT_EQ(MainDialog(d).m_nBeatPeriodMs, 500);
        EXPECT_EQ(d.CurSel(IDC_TEMPO_LIST), 26);
        EXPECT_EQ(bus.Last().title, MainDialog(d).m_strTempoCombo.ToUtf8());
        EXPECT_FALSE(bus.Last().canGoPrevious);

        bus.Send(d, RemoteCommand::next);  // 3 and 4 are empty
        EXPECT_EQ(MainDialog(d).m_nBeatPeriodMs, 1000);
        EXPECT_TRUE(bus.Last().canGoPrevious);
        EXPECT_TRUE(bus.Last().canGoNext);

        bus.Send(d, RemoteCommand::next);
        EXPECT_EQ(MainDialog(d).m_nBeatPeriodMs, 462);
        EXPECT_FALSE(bus.Last().canGoNext);
        const std::size_t timers = app.Calls("timeSetEvent").size();
        bus.Send(d, RemoteCommand::next);  // nothing after 7: no warning, nothing restarts
        EXPECT_EQ(app.Calls("timeSetEvent").size(), timers);

        d.Click(IDC_PRESET_5);  // the button moves the remote's place too
        bus.Send(d, RemoteCommand::previous);
        EXPECT_EQ(MainDialog(d).m_nBeatPeriodMs, 500);
        d.Key(VK_ESCAPE);
    });
    EXPECT_TRUE(app.ui.MessageBoxes().empty());
}

TEST(MediaRemote, SavingAPresetIsAnnouncedAsSomewhereToGo) {
    RecordingBus bus;
    AppHarness app;
    app.Run([&](Driver& d) {
        EXPECT_FALSE(bus.Last().canGoNext);
        SavePreset(app, d, 3);
        EXPECT_TRUE(bus.Last().canGoNext);
        d.Key(VK_ESCAPE);
    });
}

TEST(MediaRemote, APresetSavedFromOutsideIsFoundWhenARemoteAsksButNotInTheMiddleOfAHandler) {
    RecordingBus bus;
    AppHarness app;
    app.Run([&](Driver& d) {
        EXPECT_FALSE(bus.Last().canGoNext);
        WriteBank(6, ScalePreset(26, 500));  // another copy of the program saves it
        bus.Query();
        EXPECT_TRUE(bus.Last().canGoNext);
        d.Click(IDC_PRESET_6);
        EXPECT_FALSE(bus.Last().canGoNext);
        app.ThenInNextDialog([&](Driver& s) {
            WriteBank(8, ScalePreset(26, 500));
            bus.Query();
            EXPECT_FALSE(bus.Last().canGoNext);
            s.Click(IDCANCEL);
        });
        d.Click(IDC_SAVE_PRESET);
        EXPECT_TRUE(bus.Last().canGoNext);
        d.Key(VK_ESCAPE);
    });
}

TEST(MediaRemote, CommandsWaitForNoBoxButAreRefusedWhileOneIsOpen) {
    RecordingBus bus;
    AppHarness app;
    app.Run([&](Driver& d) {
        app.ThenInNextDialog([&](Driver& s) {
            bus.Send(s, RemoteCommand::playPause);
            s.Click(IDCANCEL);
        });
        d.Click(IDC_SAVE_PRESET);
        EXPECT_FALSE(MainDialog(d).m_bRunning);
        bus.Send(d, RemoteCommand::playPause);
        EXPECT_TRUE(MainDialog(d).m_bRunning);
        d.Key(VK_ESCAPE);
    });
}

TEST(MediaKeys, ActAsTheRemoteWhereverTheFocusIsAndWithoutABus) {
    AppHarness app;
    WriteBank(4, ScalePreset(26, 500));
    app.Run([&](Driver& d) {
        d.Focus(IDC_COMMENTS);
        d.Key(VK_MEDIA_PLAY_PAUSE);
        EXPECT_TRUE(MainDialog(d).m_bRunning);
        EXPECT_EQ(d.Text(IDC_COMMENTS), CString(u"Place here comments for 1...8 user presets"));
        d.Key(VK_MEDIA_STOP);
        EXPECT_FALSE(MainDialog(d).m_bRunning);
        d.Key(VK_MEDIA_STOP);
        EXPECT_FALSE(MainDialog(d).m_bRunning);
        d.Key(VK_MEDIA_NEXT_TRACK);
        EXPECT_TRUE(MainDialog(d).m_bRunning);
        EXPECT_EQ(MainDialog(d).m_nBeatPeriodMs, 500);
        d.Key(VK_MEDIA_PREV_TRACK);  // nothing before 4
        d.Key(VK_MEDIA_PLAY_PAUSE);
        EXPECT_FALSE(MainDialog(d).m_bRunning);
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(app.Calls("timeSetEvent").size(), 2u);
}

}  // namespace
}  // namespace preset_tests
