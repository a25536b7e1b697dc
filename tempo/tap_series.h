// The state of the current tap series, kept between presses of the Tap button.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "base/win_types.h"

namespace tempo {

inline constexpr std::int32_t kTapSlots = 512;

// Intervals of the current series in milliseconds, in tap order from slot 0.
extern std::array<std::int32_t, kTapSlots> g_aTapIntervals;
// Intervals in the current series, and the slot the next one fills.
extern std::int32_t g_nTapCount;
// timeGetTime of the previous press.
extern DWORD g_dwLastTapTime;

// Back to the state the process starts in: no series, no previous press.
void ResetTapTempo();

// A press of Tap at `now` (timeGetTime): the period the series gives, the average of its intervals
// in milliseconds, truncated; nothing when the press came too long after the previous one and
// starts a new series.
std::optional<std::int32_t> AddTap(DWORD now);

}  // namespace tempo
