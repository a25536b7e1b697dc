// Clicking: On/Off, the signature and sound radios, and the timer operations and tone start that
// every handler starts, stops and re-times the click with.
#include "app/metronome_dlg.h"
#include "audio/beat_clock.h"
#include "audio/sample_store.h"
#include "platform/mmsystem.h"
#include "tempo/tempo_scale.h"

void CMetronomeDlg::StopBeatTimer() {
    timeEndPeriod(1);
    timeKillEvent(m_uTimerId);
}

void CMetronomeDlg::StartBeatTimer() {
    timeBeginPeriod(1);
    const std::int32_t interval = m_bEighths ? m_nBeatPeriodMs / 2 : m_nBeatPeriodMs;
    // A period of 0 or less becomes a value the timer service refuses.
    m_uTimerId = timeSetEvent(static_cast<UINT>(interval), 1, BeatTimerProc, 0, TIME_PERIODIC);
}

void CMetronomeDlg::RestartBeatTimer() {
    StopBeatTimer();
    StartBeatTimer();
}

void CMetronomeDlg::RestartMeasure() {
    // The counter before the stop: a tick of the old timer in between still counts once more.
    g_nBeatIndex = 0;
    RestartBeatTimer();
}

void CMetronomeDlg::StartTone(ToneStart order) {
    if (order == ToneStart::silenceFirst) {
        PlaySoundA(nullptr, nullptr, SND_ASYNC);
        StopBeatTimer();
    } else {
        StopBeatTimer();
        PlaySoundA(nullptr, nullptr, SND_ASYNC);
    }
    PlaySoundA(g_p440Hz.get(), nullptr, SND_ASYNC | SND_MEMORY | SND_LOOP);
}

void CMetronomeDlg::OnOnOff() {
    if (m_bRunning) {
        m_bRunning = false;
        StopBeatTimer();
        PlaySoundA(nullptr, nullptr, SND_ASYNC);
        return;
    }
    m_bRunning = true;
    if (m_nBeatPeriodMs == tempo::kTonePeriod) {
        StartTone(ToneStart::timerFirst);
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
