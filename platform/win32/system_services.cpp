// Timer, sound player, wave-out and shell services that hand each call to winmm or shell32.
#include "platform/win32/system_services.h"

#include "platform/services.h"
#include "platform/win32/system_calls.h"

namespace platform::win32 {
namespace {

// The program's callback has the plain C++ convention; winmm's trampoline forwards to it.
void ForwardTick(unsigned timerId, unsigned message, std::uintptr_t user) {
    const auto* call = reinterpret_cast<const LPTIMECALLBACK*>(user);
    (*call)(timerId, message, 0, 0, 0);
}

class WinmmTimers : public TimerService {
  public:
    MMRESULT BeginPeriod(UINT periodMs) override { return sys::TimeBeginPeriod(periodMs); }
    MMRESULT EndPeriod(UINT periodMs) override { return sys::TimeEndPeriod(periodMs); }
    UINT SetEvent(UINT delayMs, UINT resolutionMs, LPTIMECALLBACK callback, DWORD_PTR user,
                  UINT flags) override {
        // The callback's own dwUser is not forwarded: the program passes 0 and reads none.
        (void)user;
        callback_ = callback;
        return sys::TimeSetEvent(delayMs, resolutionMs, ForwardTick,
                                 reinterpret_cast<std::uintptr_t>(&callback_), flags);
    }
    MMRESULT KillEvent(UINT timerId) override { return sys::TimeKillEvent(timerId); }
    DWORD GetTime() override { return sys::TimeGetTime(); }

  private:
    LPTIMECALLBACK callback_ = nullptr;
};

class WinmmPlayer : public SoundPlayer {
  public:
    BOOL Play(const char* image, DWORD flags) override { return sys::PlaySoundA(image, flags); }
};

class WinmmWaveOut : public WaveOutDevice {
  public:
    MMRESULT Open(HWAVEOUT* handle, UINT deviceId, const WAVEFORMATEX* format) override {
        void* h = nullptr;
        const MMRESULT result = sys::WaveOutOpen(&h, deviceId, format);
        *handle = static_cast<HWAVEOUT>(h);
        return result;
    }
    MMRESULT GetVolume(HWAVEOUT handle, DWORD* volume) override {
        return sys::WaveOutGetVolume(handle, volume);
    }
    MMRESULT SetVolume(HWAVEOUT handle, DWORD volume) override {
        return sys::WaveOutSetVolume(handle, volume);
    }
    MMRESULT Reset(HWAVEOUT handle) override { return sys::WaveOutReset(handle); }
    MMRESULT Close(HWAVEOUT handle) override { return sys::WaveOutClose(handle); }
};

class ShellCalls : public Shell {
  public:
    HINSTANCE Execute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                      int show) override {
        // The owner is the framework's window, not a system one; the shell needs none.
        (void)owner;
        return static_cast<HINSTANCE>(
            sys::ShellExecuteW(nullptr, verb, file, parameters, directory, show));
    }
};

}  // namespace

void InstallSystemServices() {
    static WinmmTimers timers;
    static WinmmPlayer player;
    static WinmmWaveOut waveOut;
    static ShellCalls shell;
    Install(Services{&timers, &player, &waveOut, &shell});
}

}  // namespace platform::win32
