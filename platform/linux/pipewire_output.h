// The output device as a native client of PipeWire: one pw_stream that the graph pulls a period
// at a time, rendered by the player engine in the graph's real-time thread.
//
//   [x] every frame the graph asks for, rendered in its cycle: no server-side queue to run dry
//       while the server's main thread is busy with other clients (docs/pipewire-lost-periods.md)
//   [x] the graph's time report of every cycle (pw_stream_get_time_n) maps the monotonic clock
//       to the player's frames
//   [x] the stream's own volume (its channel volumes, which pipewire-pulse shows the mixers as the
//       sink input's), the restored one as the start, a change made in a mixer told
//       (VolumeNoticeFd)
//   [x] follows the default sink; survives the server going away and coming back (reconnects,
//       backing off to one try a second, without spinning) and a server that stands still
//   [x] tells the mixer who plays: the name, icon and id of the desktop entry, a media role
//   [ ] a start over what is queued: the graph asks for one period at a time, so nothing is
//       queued beyond it, and a request waits at most one period for its callback
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/linux/sound_output.h"
#include "platform/player/player_engine.h"

struct pw_thread_loop;
struct pw_context;
struct pw_core;
struct pw_stream;
struct pw_stream_control;
struct spa_source;

namespace platform::linux_backend {

class PipeWireOutput : public SoundOutput {
  public:
    // The graph's period that the stream asks for: the start and a request from outside a timer
    // callback wait up to one of it, and the stream is woken once per period.
    static constexpr std::uint32_t kLatencyFrames = 1024;  // 21.3 ms at kRate
    // How long before its frame is rendered a tick is placed, at the least: with nothing queued
    // to write over, this alone absorbs a timer thread that wakes late.
    static constexpr double kTickLeadMs = 150;

    // The engine renders at kRate and kChannels and must outlive Close().
    explicit PipeWireOutput(player::PlayerEngine& engine);
    ~PipeWireOutput() override;
    PipeWireOutput(const PipeWireOutput&) = delete;
    PipeWireOutput& operator=(const PipeWireOutput&) = delete;

    bool Start(int waitMs) override;
    void Close() override;

    bool Playing() const override { return playing_.load(std::memory_order_relaxed); }
    std::string ApiName() const override { return "pipewire"; }
    int Reconnects() const override { return reconnects_.load(std::memory_order_relaxed); }

    // Any thread: the stream's volume as last known, the program's or the server's (the mixer's).
    std::uint32_t Volume() const override { return volume_.load(std::memory_order_relaxed); }
    // The GUI thread: handed to the client thread, which sets it on the stream.
    void SetVolume(std::uint32_t volume) override;
    int VolumeNoticeFd() const override { return noticeFd_; }
    bool TakeVolumeNotice() override;
    bool ServerVolume() const override { return serverVolume_.load(std::memory_order_relaxed); }

  private:
    struct Listeners;  // the library's callbacks, on the client thread or the graph's
    static void OnRetry(void* self, std::uint64_t expirations);
    // Client thread (or the starter, holding the loop's lock).
    void Connect();
    void OpenStream();
    void Drop();
    void RetryLater();
    void Lose();  // the server went: dropped and tried again from the loop, not from its callback
    void ApplyVolume();
    void TakeControl(const pw_stream_control& control);
    void StateChanged(int state);
    void NoticeVolume() noexcept;
    // The graph's real-time thread: no lock, no allocation, no I/O, no logging.
    void Process() noexcept;

    player::PlayerEngine& engine_;
    pw_thread_loop* loop_ = nullptr;
    pw_context* context_ = nullptr;
    pw_core* core_ = nullptr;
    pw_stream* stream_ = nullptr;
    std::unique_ptr<Listeners> listeners_;
    spa_source* retry_ = nullptr;
    spa_source* volumeEvent_ = nullptr;
    int backoffMs_ = 0;
    bool everPlayed_ = false;
    bool lost_ = false;          // the server went: the retry drops the connection first
    bool retryPending_ = false;  // a try is set for later
    bool streaming_ = false;     // this stream has run
    std::atomic<bool> playing_{false};
    std::atomic<int> reconnects_{0};

    // The volume. Shared: the value as last known, whether the program has set one (then a new
    // stream gets it; else the stream's own is taken), whether the first stream's is known.
    std::atomic<std::uint32_t> volume_{0xFFFFFFFFu};
    std::atomic<bool> volumeSet_{false};
    std::atomic<bool> volumeKnown_{false};
    std::atomic<bool> serverVolume_{false};
    int noticeFd_ = -1;  // the client thread tells the GUI
    // Client thread only: the stream's channel volumes as last set by us or told by the server.
    std::array<float, 2> serverValues_{-1.0f, -1.0f};
    bool streamVolumeSeen_ = false;
};

}  // namespace platform::linux_backend
