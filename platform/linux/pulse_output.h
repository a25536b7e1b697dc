// The output device through the sound server's own client library, on its asynchronous API:
// PulseAudio, and PipeWire through pipewire-pulse, which most desktops run.
//
//   [x] the server's timing report with every buffer (interpolated, updated by the server)
//   [x] a long queue woken seldom (platform/linux/output_tuning.h), and a start at once:
//       a request that cannot wait wakes the client thread, which writes over what the server
//       has not yet taken (PulseAudio), or drops the queue and writes anew (pipewire-pulse)
//   [x] follows the default sink and survives suspend, moves and a server restart: it reconnects
//       by itself, backing off to one try a second, without spinning
//   [x] the stream's own volume, the one the desktop's mixer shows: set at once, also over what is
//       queued; where the server refuses it, the samples are scaled instead. The server's
//       restored volume is the start; a change made in the mixer is told (VolumeNoticeFd)
//   [x] tells the mixer who plays: the name, icon and id of the desktop entry, a media role
//   [ ] ALSA or JACK without a sound server: the program then runs silently
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "platform/linux/output_tuning.h"
#include "platform/linux/sound_output.h"
#include "platform/player/player_engine.h"

struct pa_threaded_mainloop;
struct pa_context;
struct pa_stream;
struct pa_time_event;
struct pa_mainloop_api;
struct pa_server_info;
struct pa_io_event;
struct pa_sink_input_info;

namespace platform::linux_backend {

class PulseOutput : public SoundOutput, private player::OutputWaker {
  public:
    // The engine renders at kRate and kChannels and must outlive Close().
    explicit PulseOutput(player::PlayerEngine& engine);
    ~PulseOutput() override;
    PulseOutput(const PulseOutput&) = delete;
    PulseOutput& operator=(const PulseOutput&) = delete;

    bool Start(int waitMs) override;
    void Close() override;

    bool Playing() const override { return playing_.load(std::memory_order_relaxed); }
    std::string ApiName() const override { return "pulse"; }
    int Reconnects() const override { return reconnects_.load(std::memory_order_relaxed); }

    // Any thread: the stream's volume as last known, the program's or the server's (the mixer's).
    std::uint32_t Volume() const override { return volume_.load(std::memory_order_relaxed); }
    // The GUI thread: handed to the client thread, which sets it on the stream.
    void SetVolume(std::uint32_t volume) override;
    int VolumeNoticeFd() const override { return noticeFd_; }
    bool TakeVolumeNotice() override;
    bool ServerVolume() const override { return serverVolume_.load(std::memory_order_relaxed); }

  private:
    // Any thread that plays: a counter on an eventfd, read by the client thread.
    void Wake() noexcept override;
    struct WakeEvent;     // the client thread's side of Wake()
    struct VolumeEvents;  // the client thread's side of SetVolume(), and the server's news
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
    void AskStreamVolume();
    // Takes the server's volume of the stream as the program's: false when it is what we had.
    bool Adopt(const pa_sink_input_info* info);
    // Sets the program's volume on the stream, or on the samples where the server cannot.
    void ApplyVolume();
    void NoticeVolume() noexcept;
    // The server's report of the stream at this moment; false while it has none.
    bool Report(pa_stream* stream, player::StreamReport& report) const noexcept;
    void WriteOver() noexcept;
    // The server played `beyond` frames past the written ones, or its report says so: the engine
    // and the write position step over them, and the report follows. False when nothing did.
    bool CatchUp(player::StreamReport& report, std::int64_t beyond) noexcept;
    // `stalledFrames`: how long the server left the fresh report unanswered, beyond the guard.
    void WriteOverNow(std::int64_t stalledFrames) noexcept;
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
    std::int64_t updateAskedNs_ = 0;
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

    // The volume. Shared: the value as last known, whether the program has set one (then a new
    // stream gets it; else the stream's own is taken), whether the first stream's is known.
    std::atomic<std::uint32_t> volume_{0xFFFFFFFFu};
    std::atomic<bool> volumeSet_{false};
    std::atomic<bool> volumeKnown_{false};
    std::atomic<bool> serverVolume_{false};
    int volumeFd_ = -1;  // the GUI wakes the client thread
    int noticeFd_ = -1;  // the client thread tells the GUI
    pa_io_event* volumeEvent_ = nullptr;
    // Client thread only: the stream's index on the server, its volume as the server last had it
    // from us or told us (channel values, left and right), and the settings not yet answered.
    std::uint32_t streamIndex_ = 0xFFFFFFFFu;
    bool streamVolumeSeen_ = false;
    std::array<std::uint32_t, 2> serverValues_{0xFFFFFFFFu, 0xFFFFFFFFu};
    int volumeSets_ = 0;
};

}  // namespace platform::linux_backend
