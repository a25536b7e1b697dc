// Putting the Windows program's services together, and taking them apart in the safe order.
#include "platform/win32/system_services.h"

#include "platform/win32/system_calls.h"
#include "platform/win32/thread_timer_service.h"
#include "platform/win32/wave_out_output.h"

namespace platform::win32 {
namespace {
constexpr int kFirstStreamWaitMs =
    1000;  // start-up waits this long for the stream (and its volume)
}

std::int64_t SystemServices::Clock::NowNs() const {
    return sys::MonotonicNowNs();
}

HINSTANCE SystemServices::ShellCalls::Execute(HWND owner, LPCWSTR verb, LPCWSTR file,
                                              LPCWSTR parameters, LPCWSTR directory, int show) {
    // The owner is the framework's window, not a system one; the shell needs none.
    (void)owner;
    return static_cast<HINSTANCE>(
        sys::ShellExecuteW(nullptr, verb, file, parameters, directory, show));
}

SystemServices::SystemServices() {
    const WaveStreamOptions stream;
    player::PlayerOptions options;
    options.sampleRate = stream.rate;
    options.channels = stream.channels;
    player_ = std::make_unique<player::PlayerEngine>(options, clock_);
    output_ = std::make_unique<WaveOutOutput>(*player_, stream);
    // Without an output the program runs silently; one that comes later is used.
    output_->Start(kFirstStreamWaitMs);
    volume_ = std::make_unique<player::VolumeWaveOut>(*output_);
    timers_ = std::make_unique<ThreadTimerService>(*player_);
}

SystemServices::~SystemServices() {
    if (Installed().player == player_.get())
        Install({});
    timers_.reset();  // joins the timer thread: no more requests
    player_->Play(nullptr, SND_ASYNC);
    output_->Close();  // joins the output thread: nothing reads a sample any more
}

Services SystemServices::Get() {
    Services s;
    s.timers = timers_.get();
    s.player = player_.get();
    s.waveOut = volume_.get();
    s.shell = &shell_;
    return s;
}

}  // namespace platform::win32
