// The state of the current tap series, kept between presses of the Tap button.
#pragma once

#include <array>
#include <cstdint>

#include "platform/win_types.h"

inline constexpr std::int32_t kTapSlots = 512;

// Intervals of the current series in milliseconds, in tap order from slot 0.
extern std::array<std::int32_t, kTapSlots> g_aTapIntervals;
// Intervals in the current series, and the slot the next one fills.
extern std::int32_t g_nTapCount;
// timeGetTime of the previous press.
extern DWORD g_dwLastTapTime;

// Back to the state the process starts in: no series, no previous press.
void ResetTapTempo();
