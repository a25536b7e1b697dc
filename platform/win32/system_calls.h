// The winmm and shell32 calls behind the Windows services, in plain types. The program's own
// Windows-style types and the system's headers cannot meet in one file, so the services see this
// header and only system_calls.cpp sees <windows.h>.
#pragma once

#include <cstdint>

namespace platform::win32::sys {

// A plain-C++ timer callback; the stdcall one that winmm calls forwards to it.
using TimerProc = void (*)(unsigned timerId, unsigned message, std::uintptr_t user);

unsigned TimeBeginPeriod(unsigned periodMs);
unsigned TimeEndPeriod(unsigned periodMs);
unsigned TimeSetEvent(unsigned delayMs, unsigned resolutionMs, TimerProc proc, std::uintptr_t user,
                      unsigned flags);
unsigned TimeKillEvent(unsigned timerId);
std::uint32_t TimeGetTime();

int PlaySoundA(const char* sound, std::uint32_t flags);

// format points at a WAVEFORMATEX, whose layout is the same on both sides.
unsigned WaveOutOpen(void** handle, unsigned deviceId, const void* format);
unsigned WaveOutGetVolume(void* handle, std::uint32_t* volume);
unsigned WaveOutSetVolume(void* handle, std::uint32_t volume);
unsigned WaveOutReset(void* handle);
unsigned WaveOutClose(void* handle);

void* ShellExecuteW(void* owner, const char16_t* verb, const char16_t* file,
                    const char16_t* parameters, const char16_t* directory, int show);

}  // namespace platform::win32::sys
