// The real winmm, kernel32 and shell32 calls, reached from the services through plain types.
#include "platform/win32/system_calls.h"

#include <windows.h>
// After <windows.h>, which they build on.
#include <mmsystem.h>
#include <shellapi.h>

namespace platform::win32::sys {

unsigned TimeBeginPeriod(unsigned periodMs) {
    return ::timeBeginPeriod(periodMs);
}
unsigned TimeEndPeriod(unsigned periodMs) {
    return ::timeEndPeriod(periodMs);
}
std::uint32_t TimeGetTime() {
    return ::timeGetTime();
}

std::int64_t MonotonicNowNs() {
    static const std::int64_t frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<std::int64_t>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const auto ticks = static_cast<std::int64_t>(now.QuadPart);
    // In two parts: ticks * 1e9 would overflow after a few days at 10 MHz.
    return ticks / frequency * 1'000'000'000 + ticks % frequency * 1'000'000'000 / frequency;
}

void* NewEvent() {
    return CreateEventW(nullptr, FALSE, FALSE, nullptr);
}
void SignalEvent(void* event) {
    SetEvent(static_cast<HANDLE>(event));
}
void CloseEvent(void* event) {
    CloseHandle(static_cast<HANDLE>(event));
}
int WaitForEvents(void* const* events, unsigned count, unsigned timeoutMs) {
    const DWORD result =
        WaitForMultipleObjects(count, reinterpret_cast<const HANDLE*>(events), FALSE, timeoutMs);
    return result < WAIT_OBJECT_0 + count ? static_cast<int>(result - WAIT_OBJECT_0) : -1;
}

void RaiseTimerThread() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
}
void RaiseOutputThread() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
}

void* ShellExecuteW(void* owner, const char16_t* verb, const char16_t* file,
                    const char16_t* parameters, const char16_t* directory, int show) {
    auto wide = [](const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); };
    return ::ShellExecuteW(static_cast<HWND>(owner), wide(verb), wide(file), wide(parameters),
                           wide(directory), show);
}

}  // namespace platform::win32::sys
