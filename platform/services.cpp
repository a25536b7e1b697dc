// Routes the Windows-named platform calls to the installed services.
#include "platform/services.h"

#include "platform/mmsystem.h"
#include "platform/shell.h"

namespace platform {
namespace {
Services g_services;
}

void Install(const Services& services) {
    g_services = services;
}
const Services& Installed() {
    return g_services;
}

}  // namespace platform

MMRESULT timeBeginPeriod(UINT uPeriod) {
    auto* t = platform::Installed().timers;
    return t ? t->BeginPeriod(uPeriod) : TIMERR_NOCANDO;
}

MMRESULT timeEndPeriod(UINT uPeriod) {
    auto* t = platform::Installed().timers;
    return t ? t->EndPeriod(uPeriod) : TIMERR_NOCANDO;
}

MMRESULT timeSetEvent(UINT uDelay, UINT uResolution, LPTIMECALLBACK fptc, DWORD_PTR dwUser,
                      UINT fuEvent) {
    auto* t = platform::Installed().timers;
    return t ? t->SetEvent(uDelay, uResolution, fptc, dwUser, fuEvent) : 0;
}

MMRESULT timeKillEvent(UINT uTimerID) {
    auto* t = platform::Installed().timers;
    return t ? t->KillEvent(uTimerID) : TIMERR_NOCANDO;
}

DWORD timeGetTime() {
    auto* t = platform::Installed().timers;
    return t ? t->GetTime() : 0;
}

BOOL PlaySoundA(LPCSTR pszSound, HMODULE /*hmod*/, DWORD fdwSound) {
    auto* p = platform::Installed().player;
    return p ? p->Play(pszSound, fdwSound) : FALSE;
}

MMRESULT waveOutOpen(HWAVEOUT* phwo, UINT uDeviceID, const WAVEFORMATEX* pwfx,
                     DWORD_PTR /*dwCallback*/, DWORD_PTR /*dwInstance*/, DWORD /*fdwOpen*/) {
    auto* w = platform::Installed().waveOut;
    if (!w) {
        if (phwo)
            *phwo = nullptr;
        return MMSYSERR_NODRIVER;
    }
    return w->Open(phwo, uDeviceID, pwfx);
}

MMRESULT waveOutGetVolume(HWAVEOUT hwo, DWORD* pdwVolume) {
    auto* w = platform::Installed().waveOut;
    return w ? w->GetVolume(hwo, pdwVolume) : MMSYSERR_NODRIVER;
}

MMRESULT waveOutSetVolume(HWAVEOUT hwo, DWORD dwVolume) {
    auto* w = platform::Installed().waveOut;
    return w ? w->SetVolume(hwo, dwVolume) : MMSYSERR_NODRIVER;
}

MMRESULT waveOutReset(HWAVEOUT hwo) {
    auto* w = platform::Installed().waveOut;
    return w ? w->Reset(hwo) : MMSYSERR_NODRIVER;
}

MMRESULT waveOutClose(HWAVEOUT hwo) {
    auto* w = platform::Installed().waveOut;
    return w ? w->Close(hwo) : MMSYSERR_NODRIVER;
}

MMRESULT waveOutWatchVolume(HWAVEOUT hwo, void (*notice)(void* context), void* context) {
    auto* w = platform::Installed().waveOut;
    return w ? w->WatchVolume(hwo, notice, context) : MMSYSERR_NODRIVER;
}

HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR lpOperation, LPCWSTR lpFile, LPCWSTR lpParameters,
                        LPCWSTR lpDirectory, int nShowCmd) {
    auto* s = platform::Installed().shell;
    return s ? s->Execute(hwnd, lpOperation, lpFile, lpParameters, lpDirectory, nShowCmd) : nullptr;
}
