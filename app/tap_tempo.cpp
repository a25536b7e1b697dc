// Tap tempo: the average interval of the current tap series becomes the tempo, snapped to a row
// of the scale in the fixed-scale mode, or shown as a number with its name in free entry.
#include "tempo/tap_tempo.h"

#include <string>

#include "app/metronome_dlg.h"
#include "audio/beat_clock.h"
#include "platform/mmsystem.h"
#include "tempo/snap_table.h"
#include "tempo/tempo_naming.h"

std::array<std::int32_t, kTapSlots> g_aTapIntervals{};
std::int32_t g_nTapCount = 0;
DWORD g_dwLastTapTime = 0;

void ResetTapTempo() {
    g_aTapIntervals.fill(0);
    g_nTapCount = 0;
    g_dwLastTapTime = 0;
}

namespace {

// Writes a tempo (1 to 60000 BPM) in decimal, terminated; longer text would be cut to fit.
void WriteDecimal(std::int32_t value, std::array<char16_t, 10>& digits) {
    const std::string text = std::to_string(value);
    std::size_t i = 0;
    for (; i < text.size() && i + 1 < digits.size(); ++i)
        digits[i] = static_cast<char16_t>(text[i]);
    digits[i] = u'\0';
}

}  // namespace

void CMetronomeDlg::OnTap() {
    const DWORD now = timeGetTime();
    // Unsigned, so a series survives the wrap of the millisecond counter.
    const DWORD interval = now - g_dwLastTapTime;
    if (interval > static_cast<DWORD>(tempo::kLongestTapIntervalMs)) {
        g_nTapCount = 0;
        g_dwLastTapTime = now;
        return;
    }

    m_nBeatPeriodMs = static_cast<std::int32_t>(interval);
    g_aTapIntervals[static_cast<std::size_t>(g_nTapCount)] = m_nBeatPeriodMs;
    if (++g_nTapCount >= kTapSlots)
        g_nTapCount = 0;  // a full series starts over; this press counts alone
    if (g_nTapCount != 0) {
        std::int32_t sum = 0;  // at most 511 * 2000 ms
        for (std::int32_t i = 0; i < g_nTapCount; ++i)
            sum += g_aTapIntervals[static_cast<std::size_t>(i)];
        m_nBeatPeriodMs = sum / g_nTapCount;
    }

    if (m_bNoFixedScale == 1) {
        if (m_nBeatPeriodMs == 0)
            m_nBeatPeriodMs = 1;
        m_nTempoBpm = 60000 / m_nBeatPeriodMs;
        WriteDecimal(m_nTempoBpm, m_szTempoDigits);
        m_strTempoValue = CString(m_szTempoDigits.data());
        UpdateTempoName();
        // Faster than the highest tempo that can be shown: sound what is shown (300 BPM), not
        // the faster average.
        const std::int32_t shownPeriodMs = 60000 / tempo::kMaxFreeTempoBpm;
        if (m_nBeatPeriodMs < shownPeriodMs)
            m_nBeatPeriodMs = shownPeriodMs;
    } else if (m_bNoFixedScale == 0) {
        const int row = tempo::SnapRow(m_nBeatPeriodMs);
        m_nBeatPeriodMs = tempo::kTempoScale[static_cast<std::size_t>(row)].periodMs;
        m_comboTempo.SetCurSel(row);
    }

    if (m_bRunning) {
        g_nBeatIndex = 0;
        RestartBeatTimer();
    }
    g_dwLastTapTime = now;
}
