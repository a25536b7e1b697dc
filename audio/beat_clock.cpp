// The values shared with the timer thread and the timer callback that clicks on each tick.
#include "audio/beat_clock.h"

#include "audio/sample_store.h"
#include "platform/mmsystem.h"

std::atomic<std::int32_t> g_nSoundKind{0};
std::atomic<std::int32_t> g_nSignature{0};
std::atomic<std::int32_t> g_nBeatIndex{0};

void ResetBeatClock() {
    g_nSoundKind = 0;
    g_nSignature = 0;
    g_nBeatIndex = 0;
}

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
    // The timer service's tick context places this request: the player sounds it at this tick's
    // frame of the run, not at whatever moment this thread got to run.
    PlaySoundA(sample.get(), nullptr, SND_ASYNC | SND_MEMORY);
    // An add, not a store of beat + 1: a reset by the GUI thread in between is kept (as 1).
    g_nBeatIndex.fetch_add(1);
}
