// The sound player's logic, free of any audio library: PlaySoundA requests from any thread are
// placed on output frames and handed to the audio callback, which renders them sample-accurately.
//
// Placement: a request from inside a timer callback sounds at its run's anchor plus the tick
// number times the run's interval in frames (counted, so every interval of a run is the same to a
// frame); any other request sounds at its own time plus the latency. Times become frames through
// a clock filter over many callbacks. When a run's margin drifts out of its band, single
// intervals are lengthened or shortened by a frame until it is back.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "platform/player/clock_filter.h"
#include "platform/player/request_ring.h"
#include "platform/player/voice.h"
#include "platform/services.h"

namespace platform::player {

class MonotonicClock {
  public:
    virtual ~MonotonicClock() = default;
    virtual std::int64_t NowNs() const = 0;
};

enum class Placement {
    kSampleAccurate,  // on the run's frame grid
    kAtWakeUp,        // at the start of the next buffer, as a plain player would
};

struct PlayerOptions {
    std::uint32_t sampleRate = 48000;
    unsigned channels = 2;
    double latencyMs = 20;  // from a request's time to its frame being rendered
    double bandMs = 1.5;    // allowed drift of a run's margin around the latency
    Placement placement = Placement::kSampleAccurate;
};

// What the timer thread saw of its runs' margins, for measurements.
struct PlacementStats {
    std::atomic<std::int64_t> corrections{0};  // frames added or removed, in absolute value
    std::atomic<std::int64_t> jumps{0};        // re-anchorings after long spells out of band
    std::atomic<double> marginMs{0};           // latest margin measured at a tick's due time
    std::atomic<double> minMarginMs{1e9};
    std::atomic<double> maxMarginMs{-1e9};
};

class PlayerEngine : public SoundPlayer {
  public:
    PlayerEngine(const PlayerOptions& options, const MonotonicClock& clock);

    // Any thread. Refuses (FALSE) flags without SND_MEMORY and images that are not registered or
    // not readable PCM; such a request still ends the sound that plays, as a silent beat.
    BOOL Play(const char* image, DWORD flags) override;

    // The audio callback: fills `frames` interleaved frames. nowNs is the callback's time;
    // waited tells that it had to wait for the stream (the opening prefill does not).
    void Render(float* out, std::uint32_t frames, std::int64_t nowNs, bool waited) noexcept;

    // Output gain: low 16 bits left, high 16 bits right.
    void SetVolume(std::uint32_t volume) { volume_.store(volume, std::memory_order_relaxed); }
    std::uint32_t Volume() const { return volume_.load(std::memory_order_relaxed); }

    const PlayerOptions& Options() const { return options_; }
    const ClockFilter& Filter() const { return filter_; }
    const PlacementStats& Stats() const { return stats_; }
    std::int64_t FramesRendered() const { return rendered_.load(std::memory_order_relaxed); }
    // Placed requests that reached the callback after their frame had been rendered.
    std::int64_t LateRequests() const { return lateRequests_.load(std::memory_order_relaxed); }

  private:
    struct Run {
        std::uint64_t id = 0;
        bool mature = false;  // whether the interval came from a mature filter
        std::int64_t baseFrame = 0;
        std::uint64_t baseTick = 0;
        double interval = 0;  // frames per tick
        std::int64_t correction = 0;
        int outOfBand = 0;  // consecutive ticks outside the band
    };
    static constexpr int kOutOfBandTicks = 16;  // out of band this long: are the lengths right?
    static constexpr int kFarTicks = 4;         // when beyond kFarBands times the band
    static constexpr double kFarBands = 3;
    // A period in stream frames at the rate the filter measures.
    double IntervalFrames(std::int64_t periodMs, const ClockFilter::Line& line) const;
    std::int64_t PlaceFromTimer();
    std::int64_t PlaceNow();
    Run& RunFor(std::uint64_t id, const ClockFilter::Line& line);
    void Schedule(const PlayRequest& request);

    const PlayerOptions options_;
    const MonotonicClock& clock_;
    const std::int64_t latencyNs_;
    const double bandFrames_;
    std::atomic<std::uint32_t> volume_{0xFFFFFFFFu};

    // Timer thread only: the runs seen lately (one at a time in the program; a few for safety).
    std::array<Run, 4> runs_{};
    std::size_t nextRun_ = 0;
    PlacementStats stats_;
    // The latest request from outside a timer callback, to take On/Off's accent as tick 0.
    std::atomic<std::int64_t> lastFreeNs_{INT64_MIN};
    std::atomic<std::int64_t> lastFreeFrame_{0};

    RequestRing ring_;
    ClockFilter filter_;

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
    bool clockStarted_ = false;
    std::atomic<std::int64_t> rendered_{0};
    std::atomic<std::int64_t> lateRequests_{0};
};

}  // namespace platform::player
