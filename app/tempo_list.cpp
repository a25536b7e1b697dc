// Choosing a row of the tempo list: a tempo row sets its period, the A4 row loops the tone.
#include "app/metronome_dlg.h"
#include "audio/beat_clock.h"
#include "audio/sample_store.h"
#include "platform/mmsystem.h"
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
        PlaySoundA(nullptr, nullptr, SND_ASYNC);
        StopBeatTimer();
        PlaySoundA(g_p440Hz.get(), nullptr, SND_ASYNC | SND_MEMORY | SND_LOOP);
        return;
    }
    if (row >= 0)
        m_nBeatPeriodMs = tempo::kTempoScale[static_cast<std::size_t>(row)].periodMs;

    // A looping tone is not stopped here: the new timer's first click replaces it.
    if (m_nBeatPeriodMs > 0 && m_bRunning) {
        g_nBeatIndex = 0;
        RestartBeatTimer();
    }
}
