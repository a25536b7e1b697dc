// The bundle of real services without a sound device: it runs silently, clicks go nowhere
// harmlessly, the volume calls behave as on a real device, and the shell launches its opener.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <thread>

#include "platform/linux/linux_services.h"
#include "platform/mmsystem.h"
#include "platform/shell.h"
#include "platform/sound_images.h"
#include "support/test_waves.h"

namespace {

using platform::linux_backend::LinuxOptions;
using platform::linux_backend::LinuxServices;
using platform::linux_backend::XdgShell;

const auto g_click = test_waves::AccentWave();
void Tick(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
    PlaySoundA(reinterpret_cast<const char*>(g_click.data()), nullptr, SND_ASYNC | SND_MEMORY);
}

TEST(LinuxServices, WithoutADeviceEverythingRunsSilently) {
    LinuxOptions options;
    options.openAudio = false;
    LinuxServices services(options);
    EXPECT_FALSE(services.HasOutput());
    platform::Install(services.Get());
    platform::RegisterSoundImage(g_click.data(), g_click.size());
    timeBeginPeriod(1);
    const UINT id = timeSetEvent(2, 1, Tick, 0, TIME_PERIODIC);
    EXPECT_NE(id, 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(PlaySoundA(reinterpret_cast<const char*>(g_click.data()), nullptr, 13), TRUE);
    timeEndPeriod(1);
    timeKillEvent(id);
    PlaySoundA(nullptr, nullptr, SND_ASYNC);
    platform::UnregisterSoundImage(g_click.data());
}

// An environment variable set for one test, and put back after it.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        setenv(name, value, 1);
    }
    ~ScopedVariable() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// With no server to be found: the services start silently at once, look for one meanwhile without
// spinning (a spin would take the whole 400 ms; a sanitizer's own cost stays well below the
// bound), and end at once. `api` is the output they must have chosen.
void ExpectASilentStartWithoutAServer(const std::string& api) {
    const auto start = std::chrono::steady_clock::now();
    {
        LinuxServices services;
        EXPECT_EQ(services.Output().ApiName(), api);
        EXPECT_FALSE(services.HasOutput());
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
        platform::Install(services.Get());
        const std::clock_t cpu = std::clock();
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        EXPECT_LT(std::clock() - cpu, CLOCKS_PER_SEC / 4);
        platform::Install({});
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
}

TEST(LinuxServices, WithoutAServerItStartsSilentlyAndEndsAtOnce) {
    const ScopedVariable server("PULSE_SERVER", "unix:/nonexistent/metronome-test/native");
    ExpectASilentStartWithoutAServer("pulse");
}

TEST(LinuxServices, PipeWiresOwnOutputWithoutAServerAlsoStartsSilentlyAndEndsAtOnce) {
    const ScopedVariable output("METRONOME_SOUND_OUTPUT", "pipewire");
    const ScopedVariable remote("PIPEWIRE_REMOTE", "/nonexistent/metronome-test/pipewire-0");
    ExpectASilentStartWithoutAServer("pipewire");
}

TEST(LinuxServices, VolumeStartsFullAndGovernsThePlayer) {
    LinuxOptions options;
    options.openAudio = false;
    LinuxServices services(options);
    platform::Install(services.Get());
    WAVEFORMATEX format{1, 1, 44100, 88200, 2, 16, 0};
    HWAVEOUT handle = nullptr;
    ASSERT_EQ(waveOutOpen(&handle, WAVE_MAPPER, &format, 0, 0, 0), MMSYSERR_NOERROR);
    DWORD volume = 0;
    EXPECT_EQ(waveOutGetVolume(handle, &volume), MMSYSERR_NOERROR);
    EXPECT_EQ(volume, 0xFFFFFFFFu);
    EXPECT_EQ(waveOutSetVolume(handle, 0x80008000u), MMSYSERR_NOERROR);
    EXPECT_EQ(services.Player().Volume(), 0x80008000u);
    EXPECT_EQ(waveOutReset(handle), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutClose(handle), MMSYSERR_NOERROR);
    // A second close sequence on the closed handle fails harmlessly.
    EXPECT_NE(waveOutReset(handle), MMSYSERR_NOERROR);
    EXPECT_NE(waveOutClose(handle), MMSYSERR_NOERROR);
    EXPECT_NE(waveOutSetVolume(handle, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(services.Player().Volume(), 0x80008000u);
}

TEST(LinuxServices, TheShellStartsItsOpenerAndReportsFailure) {
    XdgShell works("true");
    EXPECT_GT(reinterpret_cast<std::intptr_t>(
                  works.Execute(nullptr, nullptr, u"https://example.org/", nullptr, nullptr, 1)),
              32);
    XdgShell missing("/nonexistent/opener");
    EXPECT_LE(reinterpret_cast<std::intptr_t>(
                  missing.Execute(nullptr, nullptr, u"x", nullptr, nullptr, 1)),
              32);
    EXPECT_LE(reinterpret_cast<std::intptr_t>(
                  works.Execute(nullptr, u"print", u"x", nullptr, nullptr, 1)),
              32);
    EXPECT_EQ(platform::linux_backend::ToUtf8(u"\u00e9\u4e2d\U0001F3B5"),
              "\xc3\xa9\xe4\xb8\xad\xf0\x9f\x8e\xb5");
}

}  // namespace
