// click_bench [SECONDS_LONG [capture|load|delay [idle]]]: 100 BPM in 4/4 through a private null
// sink, once placed sample-accurately and once at wake-up time (a plain timer-plus-player), for a
// minute and then for ten (or SECONDS_LONG), with the other core kept busy; then the CPU and memory
// of the player and timer clicking at 208 BPM in 6/8, and the delay from a request to its sound.
// "idle" leaves the other core alone.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "onset_analysis.h"
#include "platform/linux/linux_services.h"
#include "platform/mmsystem.h"
#include "platform/sound_images.h"
#include "support/pulse_sink.h"
#include "support/test_clicker.h"

namespace {

using namespace std::chrono_literals;
using platform::linux_backend::LinuxOptions;
using platform::linux_backend::LinuxServices;
using platform::linux_backend::MonotonicNowNs;
using platform::player::Placement;

using test_clicker::g_accent;
using test_clicker::g_regular;
using test_clicker::Image;
using test_clicker::Off;
using test_clicker::On;

// Keeps the other core busy in a process of its own, so that it does not count as ours.
class BusyCore {
  public:
    BusyCore() : pid_(fork()) {
        if (pid_ == 0) {
            volatile unsigned long x = 0;
            for (;;)
                x = x + 1;
        }
    }
    ~BusyCore() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

  private:
    pid_t pid_;
};

long StatusKb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::strlen(field));
    return -1;
}

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

void Capture(Placement placement, int seconds) {
    PulseSink sink(PULSE_NULL_SINK);
    if (!sink.Started() || !sink.Record("capture.wav")) {
        std::printf("cannot start the null sink\n");
        return;
    }
    long late = 0, reanchors = 0;
    std::string api;
    {
        LinuxOptions options;
        options.player.placement = placement;
        LinuxServices services(options);
        api = services.Output().ApiName();
        platform::Install(services.Get());
        std::this_thread::sleep_for(2s);
        const UINT id = On(600, 4);
        std::this_thread::sleep_for(std::chrono::milliseconds(seconds * 1000 + 100));
        Off(id);
        std::this_thread::sleep_for(500ms);
        late = services.Player().LateRequests();
        reanchors = services.Player().Reanchors();
        platform::Install({});
    }
    sink.Stop();
    const auto rec = onset_analysis::ReadWav(sink.Dir() + "/capture.wav");
    if (!rec) {
        std::printf("no recording\n");
        return;
    }
    const auto onsets = onset_analysis::FindOnsets(*rec);
    const auto grid = onset_analysis::FitGrid(onsets);
    const double ideal = 600.0 * rec->sampleRate / 1000;
    const auto dev = onset_analysis::FromIdeal(onsets, ideal);
    int accentsWrong = 0;
    for (std::size_t i = 0; i < onsets.size(); ++i)
        accentsWrong += onsets[i].accent != (i % 4 == 0);
    std::printf("%-15s %4d s  clicks %4zu (accents misplaced %d)  via %s\n",
                placement == Placement::kSampleAccurate ? "sample-accurate" : "at wake-up", seconds,
                onsets.size(), accentsWrong, api.c_str());
    std::printf("  from the ideal grid: mean %.2f  sd %.2f  max %.2f samples\n", dev.mean, dev.sd,
                dev.maxAbs);
    std::printf("  jitter %.2f samples (sd %.2f)  intervals %lld..%lld  tempo error %+.1f ppm\n",
                grid.jitter, grid.sdDeviation, static_cast<long long>(grid.shortest),
                static_cast<long long>(grid.longest), (ideal / grid.slope - 1) * 1e6);
    if (placement == Placement::kSampleAccurate)
        std::printf("  requests too late %ld, runs re-anchored %ld\n", late, reanchors);
    std::fflush(stdout);
}

// The delay from a request on the GUI thread to its first sample in the recording, watched as
// the recorder writes (so it includes the recorder's own 10 ms).
void Delay() {
    PulseSink sink(PULSE_NULL_SINK);
    if (!sink.Started() || !sink.Record("delay.wav"))
        return;
    LinuxServices services;
    platform::Install(services.Get());
    std::this_thread::sleep_for(2s);
    std::vector<double> delays;
    for (int round = 0; round < 8; ++round) {
        std::this_thread::sleep_for(400ms);
        std::ifstream in(sink.Dir() + "/delay.wav", std::ios::binary);
        in.seekg(0, std::ios::end);
        auto pos = static_cast<std::streamoff>(in.tellg());
        pos -= pos % 2;
        const std::int64_t start = MonotonicNowNs();
        PlaySoundA(Image(g_accent), nullptr, SND_ASYNC | SND_MEMORY);
        bool heard = false;
        while (!heard && MonotonicNowNs() - start < 2'000'000'000) {
            std::this_thread::sleep_for(200us);
            in.clear();
            in.seekg(0, std::ios::end);
            const auto end = static_cast<std::streamoff>(in.tellg());
            if (end - pos < 2)
                continue;
            std::vector<char> bytes(static_cast<std::size_t>(end - pos));
            in.seekg(pos);
            in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
                const auto v =
                    static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                              static_cast<std::uint8_t>(bytes[i + 1]) << 8);
                if (std::abs(v) > 3000)
                    heard = true;
            }
            pos += static_cast<std::streamoff>(bytes.size() - bytes.size() % 2);
        }
        if (heard)
            delays.push_back(static_cast<double>(MonotonicNowNs() - start) * 1e-6);
    }
    platform::Install({});
    std::sort(delays.begin(), delays.end());
    if (delays.empty())
        return;
    std::printf("request to sound: median %.1f ms, %.1f..%.1f ms over %zu requests\n",
                delays[delays.size() / 2], delays.front(), delays.back(), delays.size());
    std::fflush(stdout);
}

void Load() {
    PulseSink sink(PULSE_NULL_SINK);
    if (!sink.Started())
        return;
    LinuxServices services;
    platform::Install(services.Get());
    std::this_thread::sleep_for(2s);
    const double cpu0 = CpuSeconds();
    const auto wall0 = MonotonicNowNs();
    const UINT id = On(144, 6);  // 208 BPM in 6/8
    std::this_thread::sleep_for(30s);
    Off(id);
    const double cpu = CpuSeconds() - cpu0;
    const double wall = static_cast<double>(MonotonicNowNs() - wall0) * 1e-9;
    std::printf(
        "208 BPM in 6/8 for %.0f s: CPU %.2f%% of a core, resident %ld kB (peak %ld kB), "
        "timer thread real-time: %s\n",
        wall, 100 * cpu / wall, StatusKb("VmRSS:"), StatusKb("VmHWM:"),
        services.Timers().RealTime() ? "yes" : "no");
    platform::Install({});
}

}  // namespace

int main(int argc, char** argv) {
    // click_bench [SECONDS_LONG] [capture|load|delay] [idle]
    const int longSeconds = argc > 1 ? std::atoi(argv[1]) : 600;
    const std::string only = argc > 2 ? argv[2] : "";
    const bool idle = argc > 3 && std::string(argv[3]) == "idle";
    platform::RegisterSoundImage(g_accent.data(), g_accent.size());
    platform::RegisterSoundImage(g_regular.data(), g_regular.size());
    if (only.empty() || only == "load")
        Load();
    if (only.empty() || only == "delay")
        Delay();
    if (only.empty() || only == "capture") {
        std::unique_ptr<BusyCore> busy;
        if (!idle)
            busy = std::make_unique<BusyCore>();
        for (int seconds : {60, longSeconds}) {
            if (seconds <= 0)
                continue;
            Capture(Placement::kSampleAccurate, seconds);
            Capture(Placement::kAtWakeUp, seconds);
        }
    }
    return 0;
}
