// The beat clock: the values the GUI thread shares with the timer thread, and the timer callback
// that turns each tick into the accent or the regular click.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win_types.h"

// Radio index of the click sound, 0 to 3.
extern std::atomic<std::int32_t> g_nSoundKind;
// Radio index of the signature, 0 to 11; the callback folds 6..11 to 0..5 in place.
extern std::atomic<std::int32_t> g_nSignature;
// Position in the measure of the next tick; 0 is the accent.
extern std::atomic<std::int32_t> g_nBeatIndex;

// Called on the timer thread once per interval. Takes no lock and allocates nothing.
void BeatTimerProc(UINT timerId, UINT message, DWORD_PTR user, DWORD_PTR reserved1,
                   DWORD_PTR reserved2) noexcept;

// The measure length minus one for a signature index: x/8 indexes fold onto x/4.
inline constexpr std::int32_t FoldSignature(std::int32_t signature) {
    return signature > 5 ? signature - 6 : signature;
}
