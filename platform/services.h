// The services behind the Windows-named platform calls, chosen once at start-up: the real ones for
// the program, recording doubles with virtual time for the tests.
#pragma once

#include "base/win_types.h"

namespace platform {

// A periodic callback service with millisecond periods. Tick k of a timer is due at its start plus
// k times its period, or when the service's pacer says (player::TickPacer: the Linux service
// follows the sound that is heard). SetEvent returns 0 for a refused request; killing an unknown id
// is harmless, and once KillEvent returns no callback of that timer runs any more.
//
// The callback runs on the service's own thread, under the real-time contract that SoundPlayer
// states below for a Play() from it: no lock, no allocation, no I/O, no unbounded wait.
class TimerService {
  public:
    virtual ~TimerService() = default;
    virtual MMRESULT BeginPeriod(UINT periodMs) = 0;
    virtual MMRESULT EndPeriod(UINT periodMs) = 0;
    virtual UINT SetEvent(UINT delayMs, UINT resolutionMs, LPTIMECALLBACK callback, DWORD_PTR user,
                          UINT flags) = 0;
    virtual MMRESULT KillEvent(UINT timerId) = 0;
    virtual DWORD GetTime() = 0;  // milliseconds on a monotonic clock, wrapping at 2^32
};

// Plays in-memory RIFF WAVE images, one at a time: a new request or a stop ends the sound that
// plays. Called from the GUI thread and from timer callbacks; the last request wins.
//
// Real-time contract: from a timer callback Play() runs on the timer thread, which may have
// real-time priority and must keep its ticks. There it takes no lock, allocates no memory, does
// no I/O and waits for nothing without a bound: not for the audio callback, not for the GUI
// thread. It only checks the image, places the request and hands it on without blocking. What
// sounds it is done elsewhere, later.
class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    // image == nullptr stops the sound. Only SND_ASYNC | SND_MEMORY [| SND_LOOP] is supported.
    virtual BOOL Play(const char* image, DWORD flags) noexcept = 0;
};

// Told on the GUI thread, between handlers, that the volume changed outside the program.
using VolumeNotice = void (*)(void* context);

// The wave-out device, used only for its volume: low 16 bits left, high 16 bits right.
class WaveOutDevice {
  public:
    virtual ~WaveOutDevice() = default;
    virtual MMRESULT Open(HWAVEOUT* handle, UINT deviceId, const WAVEFORMATEX* format) = 0;
    virtual MMRESULT GetVolume(HWAVEOUT handle, DWORD* volume) = 0;
    virtual MMRESULT SetVolume(HWAVEOUT handle, DWORD volume) = 0;
    virtual MMRESULT Reset(HWAVEOUT handle) = 0;
    virtual MMRESULT Close(HWAVEOUT handle) = 0;
    // Where the volume is also the desktop's (its mixer), `notice` hears of changes made there
    // until the handle is closed. A device without such news keeps silent.
    virtual MMRESULT WatchVolume(HWAVEOUT handle, VolumeNotice notice, void* context) = 0;
};

class Shell {
  public:
    virtual ~Shell() = default;
    // Returns a value above 32 on success, as the Windows call does.
    virtual HINSTANCE Execute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                              LPCWSTR directory, int show) = 0;
};

struct Services {
    TimerService* timers = nullptr;
    SoundPlayer* player = nullptr;
    WaveOutDevice* waveOut = nullptr;
    Shell* shell = nullptr;
};

// Installs the services. Call on the GUI thread before any timer exists; a call with a null member
// leaves that service out, and its calls then fail harmlessly.
void Install(const Services& services);
const Services& Installed();

}  // namespace platform
