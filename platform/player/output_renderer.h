// The player's audio-callback side: takes the requests from the ring, keeps them as events on
// the output's frames, renders them sample-accurately with the voice, steps over lost frames and
// prepares a write over the queue. Touched by the audio callback only (the output's thread);
// it writes the stream clock and the landed record that the other threads read.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "platform/player/landed_record.h"
#include "platform/player/player_options.h"
#include "platform/player/request_ring.h"
#include "platform/player/stream_clock.h"
#include "platform/player/voice.h"

namespace platform::player {

class OutputRenderer {
  public:
    OutputRenderer(const PlayerOptions& options, RequestRing& ring, StreamClock& stream,
                   LandedRecord& landed);

    // Fills `frames` interleaved frames, the next ones of the player's count, with the server's
    // report of what is heard now.
    void Render(float* out, std::uint32_t frames, const StreamReport& report) noexcept;
    // Woken: takes the requests that came in, and when one of them must sound before the end of
    // what is written, steps back to it (at `earliest` at the soonest) and returns how many frames
    // to render again; 0 when nothing needs it.
    std::uint32_t PrepareRewrite(std::int64_t earliest) noexcept;
    // The server played beyond the written frames, up to `to`: steps over them with what was
    // placed there and returns how many frames it stepped over.
    std::int64_t CatchUp(std::int64_t to) noexcept;
    // The stream is gone: the next callback, on a new stream, starts from silence.
    void StreamLost() noexcept;

    // Any thread: whether the output writes over written frames (it keeps what it took for it).
    void SetRewriting(bool rewriting) noexcept {
        rewriting_.store(rewriting, std::memory_order_relaxed);
    }
    // Any thread. Output gain: low 16 bits left, high 16 bits right.
    void SetVolume(std::uint32_t volume) noexcept {
        volume_.store(volume, std::memory_order_relaxed);
    }
    std::uint32_t Volume() const noexcept { return volume_.load(std::memory_order_relaxed); }
    std::int64_t FramesRendered() const noexcept {
        return rendered_.load(std::memory_order_relaxed);
    }
    std::int64_t LateRequests() const noexcept {
        return lateRequests_.load(std::memory_order_relaxed);
    }

  private:
    // Places a request on the frames, at `floor` at the soonest.
    void Schedule(const PlayRequest& request, std::int64_t floor) noexcept;
    // The first callback on a new stream: drops what was asked for while none played.
    void ForgetLostStream() noexcept;
    // The voice takes a request over (a stop when it has no sound).
    void Start(const PlayRequest& request) noexcept;

    const std::uint32_t sampleRate_;
    const unsigned channels_;
    RequestRing& ring_;
    StreamClock& stream_;
    LandedRecord& landed_;
    std::atomic<bool> rewriting_{false};
    std::atomic<std::uint32_t> volume_{0xFFFFFFFFu};
    std::atomic<std::int64_t> rendered_{0};
    std::atomic<std::int64_t> lateRequests_{0};

    struct Event {
        std::int64_t frame;
        PlayRequest request;
    };
    static constexpr std::size_t kMaxEvents = 16;
    std::array<Event, kMaxEvents> events_{};
    std::size_t eventCount_ = 0;
    Voice voice_;
    std::int64_t pos_ = 0;
    // The requests that callbacks took since the last write over the queue, and where they went.
    // When one of them went later than it asked for, a wake-up may still be on its way (the
    // server's request came first): the write over the queue places them all again.
    struct Taken {
        PlayRequest request;
        std::int64_t frame;
    };
    static constexpr std::size_t kTakenHistory = 8;
    std::array<Taken, kTakenHistory> taken_{};
    std::size_t takenCount_ = 0;
    bool missed_ = false;
    bool lost_ = false;    // the stream went: the next callback starts from silence
    PlayRequest started_;  // what the voice took over last
    // How far the written frames reached beyond the heard one after each of the last callbacks.
    static constexpr std::size_t kAheadHistory = 64;
    std::array<std::int64_t, kAheadHistory> ahead_{};
    std::size_t aheadNext_ = 0;
};

}  // namespace platform::player
