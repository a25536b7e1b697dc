// The output device through the sound server's own client library, on its asynchronous API:
// PulseAudio, and PipeWire through pipewire-pulse, which most desktops run.
//
//   [x] the server's timing report with every buffer (interpolated, updated by the server)
//   [x] a long queue woken seldom (platform/linux/output_tuning.h), and a start at once:
//       a request that cannot wait wakes the client thread, which writes over what the server
//       has not yet taken (PulseAudio), or drops the queue and writes anew (pipewire-pulse)
//   [x] follows the default sink and survives suspend, moves and a server restart: it reconnects
//       by itself, backing off to one try a second, without spinning
//   [ ] ALSA or JACK without a sound server: the program then runs silently
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/linux/output_tuning.h"
#include "platform/player/player_engine.h"

struct pa_threaded_mainloop;
struct pa_context;
struct pa_stream;
struct pa_time_event;
struct pa_mainloop_api;
struct pa_server_info;
struct pa_io_event;

namespace platform::linux_backend {

class PulseOutput : private player::OutputWaker {
  public:
    static constexpr std::uint32_t kRate = 48000;
    static constexpr unsigned kChannels = 2;

    // The engine renders at kRate and kChannels and must outlive Close().
    explicit PulseOutput(player::PlayerEngine& engine);
    ~PulseOutput();
    PulseOutput(const PulseOutput&) = delete;
    PulseOutput& operator=(const PulseOutput&) = delete;

    // Starts the client thread and connects: true when a stream plays within waitMs. Without a
    // server it keeps trying in the background, and a server that comes later is used.
    bool Start(int waitMs);
    // Stops the client thread: no callback runs after it returns.
    void Close();

    bool Playing() const { return playing_.load(std::memory_order_relaxed); }
    static std::string ApiName() { return "pulse"; }
    // How many times a lost server was connected to again.
    int Reconnects() const { return reconnects_.load(std::memory_order_relaxed); }

  private:
    // Any thread that plays: a counter on an eventfd, read by the client thread.
    void Wake() noexcept override;
    struct WakeEvent;  // the client thread's side of Wake()
    static void OnServerInfo(pa_context* context, const pa_server_info* info, void* self);
    static void OnContextState(pa_context* context, void* self);
    static void OnStreamState(pa_stream* stream, void* self);
    static void OnWrite(pa_stream* stream, std::size_t bytes, void* self) noexcept;
    static void OnRetry(pa_mainloop_api* api, pa_time_event* event, const struct timeval* tv,
                        void* self);
    // Client thread (or the starter, holding the loop's lock).
    void Connect();
    void OpenStream();
    void Drop();
    void RetryLater();
    // The server's report of the stream at this moment; false while it has none.
    bool Report(pa_stream* stream, player::StreamReport& report) const noexcept;
    void WriteOver() noexcept;
    // The server played `beyond` frames past the written ones, or its report says so: the engine
    // and the write position step over them, and the report follows. False when nothing did.
    bool CatchUp(player::StreamReport& report, std::int64_t beyond) noexcept;
    void WriteOverNow() noexcept;
    static void OnFreshTiming(pa_stream* stream, int success, void* self);
    void Write(pa_stream* stream, std::size_t bytes, const player::StreamReport& report,
               std::int64_t seekBytes) noexcept;

    player::PlayerEngine& engine_;
    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    pa_time_event* retry_ = nullptr;
    int wakeFd_ = -1;
    bool updating_ = false;  // a fresh timing report is on its way
    // Frames the engine stepped over (the server played beyond what we wrote) that the write
    // position has yet to step over with the next write.
    std::int64_t skipFrames_ = 0;
    pa_io_event* wakeEvent_ = nullptr;
    tuning::Layout layout_;
    int backoffMs_ = 0;
    bool everPlayed_ = false;
    bool priorityAsked_ = false;
    int tries_ = 0;             // connections tried
    bool quietLookup_ = false;  // later tries skip the user's runtime folder (out of reach)
    std::atomic<bool> playing_{false};
    std::atomic<int> reconnects_{0};
};

}  // namespace platform::linux_backend
