// The timer callback and the timer operations every part of the dialog starts and stops the click
// with.
#include "audio/beat_clock.h"

#include "app/metronome_dlg.h"
#include "audio/sample_store.h"
#include "platform/mmsystem.h"

std::atomic<std::int32_t> g_nSoundKind{0};
std::atomic<std::int32_t> g_nSignature{0};
std::atomic<std::int32_t> g_nBeatIndex{0};

void BeatTimerProc(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) noexcept {
    std::int32_t signature = g_nSignature.load();
    if (signature > 5) {
        signature -= 6;
        g_nSignature.store(signature);
    }
    std::int32_t beat = g_nBeatIndex.load();
    if (beat > signature) {
        beat = 0;
        g_nBeatIndex.store(0);
    }
    const std::int32_t kind = g_nSoundKind.load();
    if (kind < 0 || kind >= kSoundKinds)
        return;
    const bool regular = beat != 0 && signature != 0;
    const SampleSlot& sample = regular ? *kClickSamples[kind].regular : *kClickSamples[kind].accent;
    PlaySoundA(sample.get(), nullptr, SND_ASYNC | SND_MEMORY);
    // An add, not a store of beat + 1: a reset by the GUI thread in between is kept (as 1).
    g_nBeatIndex.fetch_add(1);
}

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
