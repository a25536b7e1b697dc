// The program's click in miniature, for the player tests and the benchmark: an accent on beat 0 of
// each measure and a regular click otherwise, started and stopped as On/Off does it.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "platform/mmsystem.h"
#include "support/test_waves.h"

namespace test_clicker {

inline const std::vector<std::uint8_t> g_accent = test_waves::AccentWave();
inline const std::vector<std::uint8_t> g_regular = test_waves::RegularWave();
inline std::atomic<int> g_beatsPerMeasure{4};
inline std::atomic<int> g_beat{0};

inline const char* Image(const std::vector<std::uint8_t>& wave) {
    return reinterpret_cast<const char*>(wave.data());
}

// The timer callback: runs on the timer thread.
inline void BeatTick(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) noexcept {
    int b = g_beat.load();
    if (b >= g_beatsPerMeasure.load())
        b = 0;
    PlaySoundA(Image(b == 0 ? g_accent : g_regular), nullptr, SND_ASYNC | SND_MEMORY);
    g_beat.store(b + 1);
}

// On as the program does it: stop, accent now, beat 1 next, start the periodic timer.
inline UINT On(UINT periodMs, int beatsPerMeasure = 4) {
    g_beatsPerMeasure = beatsPerMeasure;
    PlaySoundA(nullptr, nullptr, SND_ASYNC);
    PlaySoundA(Image(g_accent), nullptr, SND_ASYNC | SND_MEMORY);
    g_beat = 1;
    timeBeginPeriod(1);
    return timeSetEvent(periodMs, 1, BeatTick, 0, TIME_PERIODIC);
}

// Off as the program does it: the timer first, then the sound.
inline void Off(UINT id) {
    timeEndPeriod(1);
    timeKillEvent(id);
    PlaySoundA(nullptr, nullptr, SND_ASYNC);
}

}  // namespace test_clicker
