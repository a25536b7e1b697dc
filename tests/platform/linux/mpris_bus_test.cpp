// The MPRIS player on a private session bus: its names, its methods as the program's commands,
// and what it answers; and without a session bus, nothing at all.
#include "platform/linux/mpris_bus.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/scratch_folder.h"

namespace platform::linux_backend {
namespace {

class CommandLog : public RemoteListener {
  public:
    void OnRemoteCommand(RemoteCommand command) override { commands.push_back(command); }
    void OnRemoteQuery() override { ++queries; }
    std::vector<RemoteCommand> commands;
    int queries = 0;
};

MprisIdentity TestIdentity() {
    return {"MetronomeTest", "Metronome Test", "example.metronome.Test"};
}

// A dbus-daemon of the test's own, its address in DBUS_SESSION_BUS_ADDRESS while it lives.
class PrivateBus {
  public:
    PrivateBus() {
        int out[2];
        if (pipe(out) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], 3);
            if (const int quiet = open("/dev/null", O_WRONLY); quiet >= 0)
                dup2(quiet, 2);  // its complaints about limits and folders are not the test's
            execlp("dbus-daemon", "dbus-daemon", "--session", "--nofork", "--nopidfile",
                   "--print-address=3", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(out[1]);
        char text[512] = {};
        std::size_t got = 0;
        ssize_t n = 0;
        while (got < sizeof text - 1 && (n = read(out[0], text + got, sizeof text - 1 - got)) > 0) {
            got += static_cast<std::size_t>(n);
            if (std::string(text, got).find('\n') != std::string::npos)
                break;
        }
        close(out[0]);
        std::string address(text, got);
        if (const auto end = address.find('\n'); end != std::string::npos)
            address.resize(end);
        if (!address.empty()) {
            setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
            ready_ = true;
        }
    }
    ~PrivateBus() {
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    bool Ready() const { return ready_; }

  private:
    pid_t pid_ = -1;
    bool ready_ = false;
};

// Runs the players' loop, as FLTK's would, until `done` or 5 s have passed.
template <class Done>
bool PumpUntil(std::vector<MprisBus*> players, Done done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::vector<pollfd> fds;
        for (MprisBus* p : players)
            fds.push_back({p->Fd(), POLLIN, 0});
        poll(fds.data(), fds.size(), 20);
        for (MprisBus* p : players)
            p->Process();
    }
    return true;
}

// A command-line client that waits for its answer while the loop runs; its output.
std::string Ask(MprisBus& player, const std::string& arguments) {
    const std::string command =
        "dbus-send --session --print-reply --reply-timeout=4000 --dest=" + player.OwnedName() +
        " /org/mpris/MediaPlayer2 " + arguments + " 2>&1";
    FILE* client = popen(command.c_str(), "r");
    if (!client)
        return "popen failed";
    const int fd = fileno(client);
    std::string out;
    PumpUntil({&player}, [&] {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 0) <= 0)
            return false;
        char buffer[4096];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return true;
        out.append(buffer, static_cast<std::size_t>(n));
        return false;
    });
    pclose(client);
    return out;
}

TEST(MprisBus, WithoutASessionBusThereIsNothingToWatch) {
    ScratchFolder runtime;
    const char* saved = getenv("DBUS_SESSION_BUS_ADDRESS");
    const std::string savedAddress = saved ? saved : "";
    const char* savedRuntime = getenv("XDG_RUNTIME_DIR");
    const std::string savedRuntimeDir = savedRuntime ? savedRuntime : "";
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);  // no "bus" socket in it
    {
        MprisBus player(TestIdentity());
        EXPECT_EQ(player.Fd(), -1);
        bool asked = false;
        player.OnInterestChange([&](MprisBus::Interest) { asked = true; });
        player.Publish({true, "100 Andante", "4/4", true, false});
        player.Process();
        EXPECT_FALSE(asked);
        EXPECT_TRUE(player.OwnedName().empty());
    }
    if (saved)
        setenv("DBUS_SESSION_BUS_ADDRESS", savedAddress.c_str(), 1);
    if (savedRuntime)
        setenv("XDG_RUNTIME_DIR", savedRuntimeDir.c_str(), 1);
    else
        unsetenv("XDG_RUNTIME_DIR");
}

TEST(MprisBus, TakesItsNameAndASecondCopyTakesAnInstanceName) {
    PrivateBus bus;
    ASSERT_TRUE(bus.Ready()) << "no dbus-daemon";
    MprisBus first(TestIdentity());
    ASSERT_TRUE(PumpUntil({&first}, [&] { return !first.OwnedName().empty(); }));
    EXPECT_EQ(first.OwnedName(), "org.mpris.MediaPlayer2.MetronomeTest");
    MprisBus second(TestIdentity());
    ASSERT_TRUE(PumpUntil({&first, &second}, [&] { return !second.OwnedName().empty(); }));
    EXPECT_EQ(second.OwnedName(),
              "org.mpris.MediaPlayer2.MetronomeTest.instance" + std::to_string(getpid()));
}

TEST(MprisBus, MethodsBecomeCommandsAndPropertiesShowWhatWasPublished) {
    PrivateBus bus;
    ASSERT_TRUE(bus.Ready()) << "no dbus-daemon";
    MprisBus player(TestIdentity());
    CommandLog log;
    player.Listen(&log);
    ASSERT_TRUE(PumpUntil({&player}, [&] { return !player.OwnedName().empty(); }));

    const std::string p = "org.mpris.MediaPlayer2.Player.";
    for (const char* method : {"PlayPause", "Play", "Pause", "Stop", "Next", "Previous"})
        Ask(player, p + method);
    EXPECT_EQ(log.commands,
              (std::vector<RemoteCommand>{RemoteCommand::playPause, RemoteCommand::play,
                                          RemoteCommand::pause, RemoteCommand::stop,
                                          RemoteCommand::next, RemoteCommand::previous}));
    EXPECT_GT(log.queries, 0) << "the state is not brought up to date before answering";

    player.Publish({true, "120 Moderato/Allegro", "3/4", false, true});
    const std::string get = "org.freedesktop.DBus.Properties.Get string:org.mpris.MediaPlayer2";
    EXPECT_NE(Ask(player, get + ".Player string:PlaybackStatus").find("\"Playing\""),
              std::string::npos);
    const std::string metadata = Ask(player, get + ".Player string:Metadata");
    EXPECT_NE(metadata.find("\"120 Moderato/Allegro\""), std::string::npos) << metadata;
    EXPECT_NE(metadata.find("\"3/4\""), std::string::npos) << metadata;
    EXPECT_NE(Ask(player, get + ".Player string:CanGoPrevious").find("true"), std::string::npos);
    EXPECT_NE(Ask(player, get + " string:Identity").find("\"Metronome Test\""), std::string::npos);
    EXPECT_NE(Ask(player, get + " string:DesktopEntry").find("\"example.metronome.Test\""),
              std::string::npos);
    EXPECT_NE(Ask(player, p + "OpenUri string:file:///x").find("NotSupported"), std::string::npos);
}

}  // namespace
}  // namespace platform::linux_backend
