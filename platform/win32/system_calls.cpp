// The real winmm and shell32 calls, reached from the services through plain types.
#include "platform/win32/system_calls.h"

#include <windows.h>
// After <windows.h>, which they build on.
#include <mmsystem.h>
#include <shellapi.h>

#include <mutex>
#include <vector>

namespace platform::win32::sys {
namespace {

// winmm calls back with the stdcall convention; each distinct (callback, user) pair gets one
// record that lives as long as the process, so a callback in flight never sees a freed one.
struct TimerTarget {
    TimerProc proc;
    std::uintptr_t user;
};

std::mutex g_targetsLock;
std::vector<TimerTarget*> g_targets;

TimerTarget* TargetFor(TimerProc proc, std::uintptr_t user) {
    std::lock_guard lock(g_targetsLock);
    for (TimerTarget* t : g_targets)
        if (t->proc == proc && t->user == user)
            return t;
    g_targets.push_back(new TimerTarget{proc, user});
    return g_targets.back();
}

void CALLBACK Trampoline(UINT timerId, UINT message, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    const auto* target = reinterpret_cast<const TimerTarget*>(user);
    target->proc(timerId, message, target->user);
}

}  // namespace

unsigned TimeBeginPeriod(unsigned periodMs) {
    return ::timeBeginPeriod(periodMs);
}
unsigned TimeEndPeriod(unsigned periodMs) {
    return ::timeEndPeriod(periodMs);
}
unsigned TimeSetEvent(unsigned delayMs, unsigned resolutionMs, TimerProc proc, std::uintptr_t user,
                      unsigned flags) {
    return ::timeSetEvent(delayMs, resolutionMs, Trampoline,
                          reinterpret_cast<DWORD_PTR>(TargetFor(proc, user)), flags);
}
unsigned TimeKillEvent(unsigned timerId) {
    return ::timeKillEvent(timerId);
}
std::uint32_t TimeGetTime() {
    return ::timeGetTime();
}

int PlaySoundA(const char* sound, std::uint32_t flags) {
    return ::PlaySoundA(sound, nullptr, flags);
}

unsigned WaveOutOpen(void** handle, unsigned deviceId, const void* format) {
    HWAVEOUT h = nullptr;
    const MMRESULT result =
        ::waveOutOpen(&h, deviceId, static_cast<const WAVEFORMATEX*>(format), 0, 0, CALLBACK_NULL);
    *handle = h;
    return result;
}
unsigned WaveOutGetVolume(void* handle, std::uint32_t* volume) {
    DWORD v = 0;
    const MMRESULT result = ::waveOutGetVolume(static_cast<HWAVEOUT>(handle), &v);
    *volume = v;
    return result;
}
unsigned WaveOutSetVolume(void* handle, std::uint32_t volume) {
    return ::waveOutSetVolume(static_cast<HWAVEOUT>(handle), volume);
}
unsigned WaveOutReset(void* handle) {
    return ::waveOutReset(static_cast<HWAVEOUT>(handle));
}
unsigned WaveOutClose(void* handle) {
    return ::waveOutClose(static_cast<HWAVEOUT>(handle));
}

void* ShellExecuteW(void* owner, const char16_t* verb, const char16_t* file,
                    const char16_t* parameters, const char16_t* directory, int show) {
    auto wide = [](const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); };
    return ::ShellExecuteW(static_cast<HWND>(owner), wide(verb), wide(file), wide(parameters),
                           wide(directory), show);
}

}  // namespace platform::win32::sys
