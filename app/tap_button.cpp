// The Tap button: the average interval of the tap series becomes the tempo, snapped to a row of
// the scale in the fixed-scale mode, or shown as a number with its name in free entry.
#include <string>

#include "app/metronome_dlg.h"
#include "platform/mmsystem.h"
#include "tempo/snap_table.h"
#include "tempo/tap_series.h"
#include "tempo/tempo_naming.h"

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
    const std::optional<std::int32_t> period = tempo::AddTap(timeGetTime());
    if (!period)
        return;
    m_nBeatPeriodMs = *period;

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

    if (m_bRunning)
        RestartMeasure();
}
