// Drives the player and the timers in virtual time into memory: no device, no threads. The stream
// is modelled as a server would run it: buffers requested in bursts as its clock (which may run
// some ppm away from the monotonic clock) drains them, with an opening prefill, and a timing
// report with every callback. The server may change its pace on the way (another client joins,
// the graph changes its quantum, the sink is suspended). Tests read every onset to the frame.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/player/player_engine.h"
#include "platform/player/virtual_timer_service.h"

namespace platform::player {

// How the server asks for audio from a moment on.
struct StreamPace {
    std::int64_t fromNs = 0;
    std::uint32_t bufferFrames = 240;   // 5 ms at 48 kHz
    std::uint32_t buffersPerBurst = 4;  // callbacks come this many at a time
    std::uint32_t fillFrames = 7200;    // the server keeps this much queued (150 ms)
};

struct StreamModel {
    std::uint32_t bufferFrames = 240;  // the pace from the start (see StreamPace)
    std::uint32_t buffersPerBurst = 4;
    std::uint32_t fillFrames = 7200;
    std::vector<StreamPace> changes;     // later paces, in time order
    double ppm = 0;                      // stream clock against the monotonic clock
    double wanderPpm = 0;                // ... swinging this far around ppm ...
    double wanderPeriodS = 600;          // ... over this many seconds
    std::int64_t maxLateNs = 0;          // each burst comes up to this much late (pseudo-random)
    std::int64_t stallAtNs = INT64_MAX;  // the server stops playing here (an underrun, a suspended
    std::int64_t stallNs = 0;            // sink) for this long, then goes on where it was
    // Frames past the heard one from which written frames can be written over; -1: never.
    std::int64_t rewritableFrames = -1;
    // A request of the server reaches the output's thread just before each wake-up does.
    bool requestBeforeWake = false;
};

struct Onset {
    std::int64_t frame;
    float level;  // first sample's magnitude, which tells the test clicks apart
};

class OfflineRenderer : public MonotonicClock, private OutputWaker {
  public:
    OfflineRenderer(const PlayerOptions& options, const StreamModel& stream,
                    bool keepAudio = false);

    std::int64_t NowNs() const override { return nowNs_; }
    PlayerEngine& Player() { return *player_; }
    VirtualTimerService& Timers() { return timers_; }
    // The services to install so that the program's calls reach this renderer.
    Services AsServices();

    // Runs callbacks and ticks in time order up to now + ns.
    void Advance(std::int64_t ns);

    // Onsets: the first non-silent frame after at least a millisecond of silence.
    const std::vector<Onset>& Onsets() const { return onsets_; }
    // The first channel of everything rendered, when asked for at construction.
    const std::vector<float>& Audio() const { return audio_; }
    // The frame that the listener hears at a time (the truth that the server reports).
    double HeardAt(std::int64_t ns) const;

  private:
    // A wake-up is served at once: the output's thread would run before the next tick.
    void Wake() noexcept override { wakePending_ = true; }
    void ServeWake();
    void WriteOver();
    // What the server says at this moment.
    StreamReport ReportNow() const;
    // Keeps frame `frame` of the first channel, written for the first time or over.
    void Take(std::int64_t frame, float v);
    const StreamPace& PaceAt(std::int64_t ns) const;
    std::int64_t TimeOfHeard(double frame) const;
    std::int64_t NextBurstNs() const;
    void Callback();

    StreamModel stream_;
    std::vector<StreamPace> paces_;
    bool keepAudio_;
    std::int64_t nowNs_ = 0;
    VirtualTimerService timers_;
    std::unique_ptr<PlayerEngine> player_;
    std::int64_t written_ = 0;  // frames handed to the server
    std::uint64_t bursts_ = 0;
    std::uint32_t burstLeft_ = 0;  // callbacks still to come in the current burst
    std::vector<float> scratch_;
    std::vector<Onset> onsets_;
    std::vector<float> audio_;
    std::int64_t silentRun_ = 1 << 30;
    bool wakePending_ = false;
    std::vector<float> recent_;  // the last frames of the first channel, by frame modulo its size
};

}  // namespace platform::player
