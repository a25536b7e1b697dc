// The output thread: service the stream whenever the system, the GUI or a deadline calls for it.
#include "platform/win32/wave_out_output.h"

#include <algorithm>

#include "platform/win32/system_calls.h"

namespace platform::win32 {

WaveOutOutput::WaveOutOutput(player::PlayerEngine& engine, const WaveStreamOptions& options)
    : stream_(engine, device_, options), wake_(sys::NewEvent()) {}

WaveOutOutput::~WaveOutOutput() {
    Close();
    sys::CloseEvent(wake_);
}

bool WaveOutOutput::Start(int waitMs) {
    if (thread_.joinable())
        return Playing();
    thread_ = std::thread([this] { Run(); });
    // Wait for the first stream, or for the first try to fail.
    const std::int64_t until = sys::MonotonicNowNs() + std::int64_t{waitMs} * 1'000'000;
    while (!Playing() && stream_.Tries() == 0 && sys::MonotonicNowNs() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return Playing();
}

void WaveOutOutput::Close() {
    if (!thread_.joinable())
        return;
    quit_.store(true);
    sys::SignalEvent(wake_);
    thread_.join();
}

void WaveOutOutput::SetVolume(std::uint32_t volume) {
    stream_.SetVolume(volume);
    sys::SignalEvent(wake_);
}

// The output's thread: no lock of ours, no allocation, no I/O but the device's.
void WaveOutOutput::Run() {
    sys::RaiseOutputThread();
    void* const events[] = {device_.Event(), wake_};
    while (!quit_.load()) {
        const std::int64_t now = sys::MonotonicNowNs();
        const std::int64_t due = stream_.Service(now);
        const std::int64_t waitNs = std::clamp<std::int64_t>(due - now, 0, 1'000'000'000);
        sys::WaitForEvents(events, 2, static_cast<unsigned>((waitNs + 999'999) / 1'000'000));
    }
    stream_.Close();
}

}  // namespace platform::win32
