// The multimedia calls the program makes: timers, the sound player and the wave-out volume.
// They are routed to the services installed at start-up (see services.h): on Linux the program's
// own, on Windows services that forward to the system's winmm.
#pragma once

#include "base/win_types.h"

MMRESULT timeBeginPeriod(UINT uPeriod);
MMRESULT timeEndPeriod(UINT uPeriod);
MMRESULT timeSetEvent(UINT uDelay, UINT uResolution, LPTIMECALLBACK fptc, DWORD_PTR dwUser,
                      UINT fuEvent);
MMRESULT timeKillEvent(UINT uTimerID);
DWORD timeGetTime();

BOOL PlaySoundA(LPCSTR pszSound, HMODULE hmod, DWORD fdwSound);

MMRESULT waveOutOpen(HWAVEOUT* phwo, UINT uDeviceID, const WAVEFORMATEX* pwfx, DWORD_PTR dwCallback,
                     DWORD_PTR dwInstance, DWORD fdwOpen);
MMRESULT waveOutGetVolume(HWAVEOUT hwo, DWORD* pdwVolume);
MMRESULT waveOutSetVolume(HWAVEOUT hwo, DWORD dwVolume);
MMRESULT waveOutReset(HWAVEOUT hwo);
MMRESULT waveOutClose(HWAVEOUT hwo);
// The program's own addition: `notice` runs on the GUI thread, between handlers, when the volume
// was changed outside the program (in the desktop's mixer), until the handle is closed.
MMRESULT waveOutWatchVolume(HWAVEOUT hwo, void (*notice)(void* context), void* context);
