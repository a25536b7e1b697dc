// A small rig for the player tests: an offline renderer with the test clicks registered and
// installed, and a beat callback that clicks like the program's (accent on beat 0 of a measure).
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "platform/mmsystem.h"
#include "platform/player/offline_renderer.h"
#include "platform/sound_images.h"
#include "support/test_waves.h"

namespace beat_rig {

inline std::vector<std::uint8_t> g_accent = test_waves::AccentWave();
inline std::vector<std::uint8_t> g_regular = test_waves::RegularWave();
inline std::atomic<int> g_beatsPerMeasure{4};
inline std::atomic<int> g_beat{0};

inline void BeatTick(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
    int b = g_beat.load();
    if (b >= g_beatsPerMeasure.load())
        b = 0;
    const auto& sample = b == 0 ? g_accent : g_regular;
    PlaySoundA(reinterpret_cast<const char*>(sample.data()), nullptr, SND_ASYNC | SND_MEMORY);
    g_beat.store(b + 1);
}

inline constexpr float kAccentLevel = 0.9f;
inline bool IsAccent(const platform::player::Onset& o) {
    return o.level > 0.7f;
}

struct Rig {
    explicit Rig(const platform::player::PlayerOptions& options = {},
                 const platform::player::StreamModel& stream = {}, bool keepAudio = false)
        : renderer(options, stream, keepAudio) {
        platform::RegisterSoundImage(g_accent.data(), g_accent.size());
        platform::RegisterSoundImage(g_regular.data(), g_regular.size());
        platform::Install(renderer.AsServices());
        renderer.Advance(3'000'000'000);  // the program is up a while before On is pressed
    }
    ~Rig() { platform::Install({}); }

    // On/Off as the program does it: stop, accent now, beat 1 next, start the periodic timer.
    UINT On(UINT periodMs, int beatsPerMeasure = 4) {
        g_beatsPerMeasure = beatsPerMeasure;
        PlaySoundA(nullptr, nullptr, SND_ASYNC);
        PlaySoundA(reinterpret_cast<const char*>(g_accent.data()), nullptr, SND_ASYNC | SND_MEMORY);
        g_beat = 1;
        timeBeginPeriod(1);
        return timeSetEvent(periodMs, 1, BeatTick, 0, TIME_PERIODIC);
    }
    void Off(UINT id) {
        timeEndPeriod(1);
        timeKillEvent(id);
        PlaySoundA(nullptr, nullptr, SND_ASYNC);
    }

    platform::player::OfflineRenderer renderer;
};

}  // namespace beat_rig
