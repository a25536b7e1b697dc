// The winmm, kernel32 and shell32 calls behind the Windows services, in plain types. The program's
// own Windows-style types and the system's headers cannot meet in one file, so the services see
// this header and only system_calls.cpp sees <windows.h>.
#pragma once

#include <cstdint>

namespace platform::win32::sys {

// The system's timer resolution, which the timer thread's waits follow.
unsigned TimeBeginPeriod(unsigned periodMs);
unsigned TimeEndPeriod(unsigned periodMs);
std::uint32_t TimeGetTime();

// The monotonic clock that the timer thread and the player share (the performance counter).
std::int64_t MonotonicNowNs();
// Auto-reset events, for waking a thread without a lock.
void* NewEvent();
void SignalEvent(void* event);
void CloseEvent(void* event);
// Waits for any of `count` events, up to timeoutMs: the index of the one that came, or -1.
int WaitForEvents(void* const* events, unsigned count, unsigned timeoutMs);
// The calling thread ahead of ordinary threads: the timer's the most, the output's next.
void RaiseTimerThread();
void RaiseOutputThread();

void* ShellExecuteW(void* owner, const char16_t* verb, const char16_t* file,
                    const char16_t* parameters, const char16_t* directory, int show);

}  // namespace platform::win32::sys
