// A small rig for the player tests: an offline renderer with the test clicks registered and
// installed, started and stopped by the shared test clicker (accent on beat 0 of a measure).
#pragma once

#include "platform/player/offline_renderer.h"
#include "platform/sound_images.h"
#include "support/test_clicker.h"

namespace beat_rig {

using test_clicker::BeatTick;
using test_clicker::g_accent;
using test_clicker::g_regular;

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

    UINT On(UINT periodMs, int beatsPerMeasure = 4) {
        return test_clicker::On(periodMs, beatsPerMeasure);
    }
    void Off(UINT id) { test_clicker::Off(id); }

    platform::player::OfflineRenderer renderer;
};

}  // namespace beat_rig
