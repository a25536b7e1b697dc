// The Windows output in virtual time: the player engine, the block queue over a fake waveOut
// device, and the virtual timers paced by the engine, installed as the platform's services and
// run in time order (the device's signal, the output's own deadline, the ticks).
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/player/player_engine.h"
#include "platform/player/virtual_timer_service.h"
#include "platform/sound_images.h"
#include "platform/win32/wave_out_stream.h"
#include "support/test_clicker.h"
#include "tests/platform/win32/fake_wave_device.h"

namespace wave_rig {

inline constexpr std::int64_t kSecond = 1'000'000'000;

inline bool IsAccent(const fake_wave::Onset& o) {
    return o.level > 0.7f;
}

inline platform::player::PlayerOptions EngineOptions(const platform::win32::WaveStreamOptions& o) {
    platform::player::PlayerOptions options;
    options.sampleRate = o.rate;
    options.channels = o.channels;
    return options;
}

struct Rig : platform::player::MonotonicClock {
    explicit Rig(const fake_wave::Model& model = {},
                 const platform::win32::WaveStreamOptions& options = {}, bool keepAudio = false)
        : device(model, now, keepAudio),
          timers([this] { return now; }),
          engine(EngineOptions(options), *this),
          stream(engine, device, options) {
        timers.SetPacer(&engine);
        platform::RegisterSoundImage(test_clicker::g_accent.data(), test_clicker::g_accent.size());
        platform::RegisterSoundImage(test_clicker::g_regular.data(),
                                     test_clicker::g_regular.size());
        platform::Services services;
        services.timers = &timers;
        services.player = &engine;
        platform::Install(services);
        Advance(3 * kSecond);  // the program is up a while before On is pressed
    }
    ~Rig() override { platform::Install({}); }

    std::int64_t NowNs() const override { return now; }

    // Runs the output's thread and the ticks in time order up to now + ns. The output's thread
    // wakes up to maxWakeLateNs after the device's signal (pseudo-random, repeatable).
    void Advance(std::int64_t ns) {
        const std::int64_t end = now + ns;
        for (;;) {
            std::int64_t signal = device.NextDoneNs();
            if (signal != INT64_MAX && maxWakeLateNs > 0)
                signal += static_cast<std::int64_t>((++wakes * 0x9E3779B97F4A7C15ull >> 11) %
                                                    static_cast<std::uint64_t>(maxWakeLateNs));
            const std::int64_t service = std::min(signal, serviceAt);
            const std::int64_t tick = timers.NextDueNs();
            const std::int64_t next = std::min(service, tick);
            if (next > end)
                break;
            now = std::max(now, next);
            if (service <= tick)
                serviceAt = stream.Service(now);
            else
                timers.FireNext();
        }
        now = end;
    }

    UINT On(UINT periodMs, int beatsPerMeasure = 4) {
        return test_clicker::On(periodMs, beatsPerMeasure);
    }
    void Off(UINT id) { test_clicker::Off(id); }

    std::int64_t now = 0;
    std::int64_t serviceAt = 0;
    std::int64_t maxWakeLateNs = 0;
    std::uint64_t wakes = 0;
    fake_wave::FakeWaveDevice device;
    platform::player::VirtualTimerService timers;
    platform::player::PlayerEngine engine;
    platform::win32::WaveOutStream stream;
};

}  // namespace wave_rig
