// The sound player's logic, free of any audio library: PlaySoundA requests from any thread are
// placed on output frames and handed to the audio callback, which renders them sample-accurately.
//
// One clock for what is heard: the stream's own frames at its nominal rate. A run of the timer is
// counted in them from its anchor (tick k sounds k periods' worth of frames after it, so every
// interval of a run is the same to a frame, or one of two lengths a frame apart), and the player
// paces the timer by them: a tick is due when the stream reaches its frame less the distance that
// a request needs. "Now" becomes a frame only through the server's own timing report, passed in
// with each callback. A request from outside a timer callback sounds at the next frame that the
// callback writes, as soon as it can; a run started with it (On/Off's first click) counts from
// the frame where it landed.
//
// Where the server lets written frames be written over (both PulseAudio and pipewire-pulse do,
// for what they have not yet taken), a request that must sound before the end of what is written
// wakes the output, which renders again from the request's frame and writes over the rest: a long
// queue (few wake-ups) and a short start at once.
//
// Real-time contract: Render(), PrepareRewrite() and CatchUp() run on the audio callback, DueNs()
// and a Play() from a timer callback on the timer thread. None of them takes a lock, allocates,
// does I/O or waits unbounded. Each thread has its own object (TickPlacer, OutputRenderer); they
// share only the request ring, the stream clock and the landed record, all atomics.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/player/landed_record.h"
#include "platform/player/monotonic_clock.h"
#include "platform/player/output_renderer.h"
#include "platform/player/player_options.h"
#include "platform/player/request_ring.h"
#include "platform/player/stream_clock.h"
#include "platform/player/tick_context.h"
#include "platform/player/tick_placer.h"
#include "platform/services.h"

namespace platform::player {

// Wakes the output's thread when a request needs written frames written over. Called from the
// thread that plays, the timer thread included: it must not block, lock or allocate.
class OutputWaker {
  public:
    virtual ~OutputWaker() = default;
    virtual void Wake() noexcept = 0;
};

class PlayerEngine : public SoundPlayer, public TickPacer {
  public:
    PlayerEngine(const PlayerOptions& options, const MonotonicClock& clock);

    // Any thread. Refuses (FALSE) flags without SND_MEMORY and images that are not registered or
    // not readable PCM; such a request still ends the sound that plays, as a silent beat.
    BOOL Play(const char* image, DWORD flags) noexcept override;

    // The audio callback: fills `frames` interleaved frames, the next ones of the player's count,
    // with the server's report of what is heard now.
    void Render(float* out, std::uint32_t frames, const StreamReport& report) noexcept {
        renderer_.Render(out, frames, report);
    }
    // The audio callback, woken: takes the requests that came in, and when one of them must sound
    // before the end of what is written, steps back to it (at `earliest` at the soonest, the first
    // frame that can still be written over) and returns how many frames to render again with
    // Render() and write over the written ones; 0 when nothing needs it.
    std::uint32_t PrepareRewrite(std::int64_t earliest) noexcept {
        return renderer_.PrepareRewrite(earliest);
    }
    // The audio callback, before Render() or PrepareRewrite(): the server has played beyond the
    // written frames, up to `to` (it ran dry, or stood still and then caught up). The frames
    // before it are lost, and the count steps over them with what was placed there, so that a
    // request taken next sounds at once rather than among them. Returns how many frames it
    // stepped over: the output moves its write position on by as many.
    std::int64_t CatchUp(std::int64_t to) noexcept { return renderer_.CatchUp(to); }
    // Set once, before anything plays: who to wake for a request that needs a rewrite.
    void SetWaker(OutputWaker* waker) noexcept;
    // The audio callback's side, when the stream is gone (the server died): until a new stream
    // reports, ticks fall back on the monotonic clock, and runs start afresh on the new stream.
    // What was asked for meanwhile, and what still sounded, is not heard on the new stream.
    void StreamLost() noexcept { renderer_.StreamLost(); }

    // The timer thread: when a tick of a run is due.
    std::int64_t DueNs(const TickContext& tick, std::int64_t nowNs) noexcept override {
        return placer_.DueNs(tick, nowNs);
    }

    // Output gain: low 16 bits left, high 16 bits right.
    void SetVolume(std::uint32_t volume) { renderer_.SetVolume(volume); }
    std::uint32_t Volume() const { return renderer_.Volume(); }

    const PlayerOptions& Options() const { return options_; }
    StreamClock::Reading Stream() const { return clock_.Current(); }
    std::int64_t FramesRendered() const { return renderer_.FramesRendered(); }
    // Placed requests that reached the callback after their frame had been rendered.
    std::int64_t LateRequests() const { return renderer_.LateRequests(); }
    // Tests only: holds the callback between the two version stores of the stream's clock.
    void SetClockHookForTest(StreamClock::PublishHook hook, void* context) noexcept {
        clock_.SetPublishHookForTest(hook, context);
    }
    // Runs put on a new anchor: a new stream, or a stream that jumped far from its count.
    std::int64_t Reanchors() const { return placer_.Reanchors(); }

  private:
    // The thread that plays, outside a timer callback: as soon as the callback can.
    void PlaceNow(PlayRequest& request) noexcept;

    const PlayerOptions options_;
    const MonotonicClock& monotonic_;
    std::atomic<OutputWaker*> waker_{nullptr};
    StreamClock clock_;
    RequestRing ring_;
    LandedRecord landed_;
    TickPlacer placer_;
    OutputRenderer renderer_;
};

}  // namespace platform::player
