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
// Real-time contract: Render() runs on the audio callback, DueNs() and a Play() from a timer
// callback on the timer thread. None of them takes a lock, allocates or does I/O.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "platform/player/request_ring.h"
#include "platform/player/stream_clock.h"
#include "platform/player/tick_context.h"
#include "platform/player/voice.h"
#include "platform/services.h"

namespace platform::player {

class MonotonicClock {
  public:
    virtual ~MonotonicClock() = default;
    virtual std::int64_t NowNs() const = 0;
};

// Wakes the output's thread when a request needs written frames written over. Called from the
// thread that plays, the timer thread included: it must not block, lock or allocate.
class OutputWaker {
  public:
    virtual ~OutputWaker() = default;
    virtual void Wake() noexcept = 0;
};

enum class Placement {
    kSampleAccurate,  // on the run's frame grid
    kAtWakeUp,        // at the start of the next buffer, as a plain player would
};

struct PlayerOptions {
    std::uint32_t sampleRate = 48000;
    unsigned channels = 2;
    double safetyMs = 3;     // beyond the written frames, for a request from the GUI thread
    double tickLeadMs = 25;  // more for a tick, so that a late wake-up still comes in time
    Placement placement = Placement::kSampleAccurate;
};

class PlayerEngine : public SoundPlayer, public TickPacer {
  public:
    PlayerEngine(const PlayerOptions& options, const MonotonicClock& clock);

    // Any thread. Refuses (FALSE) flags without SND_MEMORY and images that are not registered or
    // not readable PCM; such a request still ends the sound that plays, as a silent beat.
    BOOL Play(const char* image, DWORD flags) override;

    // The audio callback: fills `frames` interleaved frames, the next ones of the player's count,
    // with the server's report of what is heard now.
    void Render(float* out, std::uint32_t frames, const StreamReport& report) noexcept;
    // The audio callback, woken: takes the requests that came in, and when one of them must sound
    // before the end of what is written, steps back to it (at `earliest` at the soonest, the first
    // frame that can still be written over) and returns how many frames to render again with
    // Render() and write over the written ones; 0 when nothing needs it.
    std::uint32_t PrepareRewrite(std::int64_t earliest) noexcept;
    // The audio callback, before Render() or PrepareRewrite(): the server has played beyond the
    // written frames, up to `to` (it ran dry, or stood still and then caught up). The frames
    // before it are lost, and the count steps over them with what was placed there, so that a
    // request taken next sounds at once rather than among them. Returns how many frames it
    // stepped over: the output moves its write position on by as many.
    std::int64_t CatchUp(std::int64_t to) noexcept;
    // Set once, before anything plays: who to wake for a request that needs a rewrite.
    void SetWaker(OutputWaker* waker) { waker_.store(waker, std::memory_order_release); }
    // The audio callback's side, when the stream is gone (the server died): until a new stream
    // reports, ticks fall back on the monotonic clock, and runs start afresh on the new stream.
    // What was asked for meanwhile, and what still sounded, is not heard on the new stream.
    void StreamLost() noexcept;

    // The timer thread: when a tick of a run is due.
    std::int64_t DueNs(const TickContext& tick, std::int64_t nowNs) noexcept override;

    // Output gain: low 16 bits left, high 16 bits right.
    void SetVolume(std::uint32_t volume) { volume_.store(volume, std::memory_order_relaxed); }
    std::uint32_t Volume() const { return volume_.load(std::memory_order_relaxed); }

    const PlayerOptions& Options() const { return options_; }
    StreamClock::Reading Stream() const { return clock_.Current(); }
    std::int64_t FramesRendered() const { return rendered_.load(std::memory_order_relaxed); }
    // Placed requests that reached the callback after their frame had been rendered.
    std::int64_t LateRequests() const { return lateRequests_.load(std::memory_order_relaxed); }
    // Tests only: holds the callback between the two version stores of the stream's clock.
    void SetClockHookForTest(StreamClock::PublishHook hook, void* context) noexcept {
        clock_.SetPublishHookForTest(hook, context);
    }
    // Runs put on a new anchor: a new stream, or a stream that jumped far from its count.
    std::int64_t Reanchors() const { return reanchors_.load(std::memory_order_relaxed); }

  private:
    struct Run {
        std::uint64_t id = 0;
        bool anchored = false;  // counted in a stream's frames (else on the monotonic clock)
        std::uint32_t epoch = 0;
        std::int64_t baseFrame = 0;
        std::uint64_t baseTick = 0;
        std::uint32_t periodMs = 0;
        // The ticket of tick 0 when it was a request from outside (On/Off's accent): the run counts
        // from wherever it lands, also when it is placed again (written over, or caught up).
        std::uint32_t ticket = 0;
    };
    // Counts from where tick 0 landed, as the callback says.
    void Settle(Run& run);
    std::int64_t FrameOf(const Run& run, std::uint64_t tick) const;
    // The first frame that a request made at nowNs can surely still reach.
    std::int64_t Reachable(const StreamClock::Reading& r, std::int64_t nowNs) const;
    Run& RunFor(const TickContext& tick, const StreamClock::Reading& r);
    void Anchor(Run& run, std::uint64_t tick, const StreamClock::Reading& r, std::int64_t nowNs);
    std::int64_t PlaceFromTimer();
    // The timer thread's reading of the stream's clock, never waiting for the callback.
    StreamClock::Reading TimerReading() noexcept;
    void PlaceNow(PlayRequest& request);
    // Places a request on the frames, at `floor` at the soonest.
    void Schedule(const PlayRequest& request, std::int64_t floor);
    // The first callback on a new stream: drops what was asked for while none played.
    void ForgetLostStream() noexcept;
    // The voice takes a request over (a stop when it has no sound).
    void Start(const PlayRequest& request) noexcept;

    const PlayerOptions options_;
    const MonotonicClock& monotonic_;
    const std::int64_t safetyFrames_;
    const std::int64_t leadFrames_;
    std::atomic<std::uint32_t> volume_{0xFFFFFFFFu};
    std::atomic<OutputWaker*> waker_{nullptr};
    StreamClock clock_;

    // Timer thread only: the runs seen lately (one at a time in the program; a few for safety),
    // and the last good reading of the stream's clock.
    std::array<Run, 4> runs_{};
    StreamClock::Reading timerReading_;
    std::size_t nextRun_ = 0;
    // The latest request from outside a timer callback, to take On/Off's accent as tick 0.
    std::atomic<std::int64_t> lastFreeNs_{INT64_MIN};
    std::atomic<std::int64_t> lastFreeFrame_{0};
    std::atomic<std::uint32_t> lastFreeEpoch_{0};
    std::atomic<std::uint32_t> lastFreeTicket_{0};
    std::atomic<std::uint32_t> tickets_{0};
    // Where the latest ticketed request landed (written by the callback under a sequence lock).
    std::atomic<std::uint32_t> landedVersion_{0};
    std::atomic<std::uint32_t> landedTicket_{0};
    std::atomic<std::int64_t> landedFrame_{0};

    RequestRing ring_;

    // Callback thread only.
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
    std::atomic<std::int64_t> rendered_{0};
    std::atomic<std::int64_t> lateRequests_{0};
    std::atomic<std::int64_t> reanchors_{0};
};

}  // namespace platform::player
