// Choosing a row of the tempo list: a tempo row sets its period, the A4 row loops the tone.
#include "app/metronome_dlg.h"
#include "tempo/tempo_scale.h"

void CMetronomeDlg::OnSelchangeTempo() {
    UpdateData(TRUE);
    if (m_strTempoCombo != tempo::kToneRowText) {
        m_btnTap.EnableWindow(TRUE);
        m_chkNoFixedScale.EnableWindow(TRUE);
    }

    const int row = tempo::FindTempoRow(m_strTempoCombo.Str());
    if (row == tempo::kToneRow) {
        // Tap and the free-entry switch would otherwise meet the tone marker.
        m_btnTap.EnableWindow(FALSE);
        m_chkNoFixedScale.EnableWindow(FALSE);
        m_nBeatPeriodMs = tempo::kTonePeriod;
        if (!m_bRunning)
            return;
        // Silence before the timer stop, as written for this list, where On/Off and a recall stop
        // the timer first: the order is intended, and no order is heard, since the tone replaces a
        // click that a last tick may start in between.
        StartTone(ToneStart::silenceFirst);
        return;
    }
    if (row >= 0)
        m_nBeatPeriodMs = tempo::kTempoScale[static_cast<std::size_t>(row)].periodMs;

    // A looping tone is not stopped here: the new timer's first click replaces it.
    if (m_nBeatPeriodMs > 0 && m_bRunning)
        RestartMeasure();
}
