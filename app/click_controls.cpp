// On/Off and the signature radios: starting, stopping and re-timing the click.
#include "app/metronome_dlg.h"
#include "audio/beat_clock.h"
#include "audio/sample_store.h"
#include "tempo/tempo_scale.h"

void CMetronomeDlg::OnOnOff() {
    if (m_bRunning) {
        m_bRunning = false;
        StopBeatTimer();
        PlaySoundA(nullptr, nullptr, SND_ASYNC);
        return;
    }
    m_bRunning = true;
    if (m_nBeatPeriodMs == tempo::kTonePeriod) {
        StopBeatTimer();
        PlaySoundA(nullptr, nullptr, SND_ASYNC);
        PlaySoundA(g_p440Hz.get(), nullptr, SND_ASYNC | SND_MEMORY | SND_LOOP);
        return;
    }
    PlaySoundA(nullptr, nullptr, SND_ASYNC);
    const std::int32_t kind = g_nSoundKind.load();
    if (kind >= 0 && kind < kSoundKinds)
        PlaySoundA(kClickSamples[kind].accent->get(), nullptr, SND_ASYNC | SND_MEMORY);
    g_nBeatIndex.store(1);
    StartBeatTimer();
}

void CMetronomeDlg::OnQuarterSignature() {
    UpdateData(TRUE);
    if (m_bEighths && m_bRunning && m_nBeatPeriodMs >= 0) {
        m_bEighths = 0;
        RestartBeatTimer();
    }
    m_bEighths = 0;
}

void CMetronomeDlg::OnEighthSignature() {
    UpdateData(TRUE);
    if (!m_bEighths && m_bRunning && m_nBeatPeriodMs >= 0) {
        m_bEighths = 1;
        RestartBeatTimer();
    }
    m_bEighths = 1;
}

void CMetronomeDlg::OnSaveState() {
    UpdateData(TRUE);
}
