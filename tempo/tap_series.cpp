// The tap series: the intervals between presses of the Tap button and their average.
#include "tempo/tap_series.h"

#include "tempo/snap_table.h"

namespace tempo {

std::array<std::int32_t, kTapSlots> g_aTapIntervals{};
std::int32_t g_nTapCount = 0;
DWORD g_dwLastTapTime = 0;

void ResetTapTempo() {
    g_aTapIntervals.fill(0);
    g_nTapCount = 0;
    g_dwLastTapTime = 0;
}

std::optional<std::int32_t> AddTap(DWORD now) {
    // Unsigned, so a series survives the wrap of the millisecond counter.
    const DWORD interval = now - g_dwLastTapTime;
    g_dwLastTapTime = now;
    if (interval > static_cast<DWORD>(kLongestTapIntervalMs)) {
        g_nTapCount = 0;
        return std::nullopt;
    }

    std::int32_t period = static_cast<std::int32_t>(interval);
    g_aTapIntervals[static_cast<std::size_t>(g_nTapCount)] = period;
    if (++g_nTapCount >= kTapSlots)
        g_nTapCount = 0;  // a full series starts over; this press counts alone
    if (g_nTapCount != 0) {
        std::int32_t sum = 0;  // at most 511 * 2000 ms
        for (std::int32_t i = 0; i < g_nTapCount; ++i)
            sum += g_aTapIntervals[static_cast<std::size_t>(i)];
        period = sum / g_nTapCount;
    }
    return period;
}

}  // namespace tempo
