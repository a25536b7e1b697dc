// Relates the monotonic clock to the output stream's frames from many callbacks. Callbacks are
// only ever late, so the estimate follows the envelope of (time, frame): the earliest point of
// each half second; the rate is a least-squares fit through the last 16 s of them, fitted again
// without the buckets that came late throughout (the nominal rate before that), and the line
// goes through the highest of them: a point above lifts it at once, while a drop is believed
// only once it has lasted the whole window (it could be a long spell of late callbacks).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace platform::player {

class ClockFilter {
  public:
    explicit ClockFilter(double framesPerSecond);

    // Callback thread only: frame is the end of the buffer requested at timeNs. Allocation-free.
    void Add(std::int64_t timeNs, std::int64_t frame);

    struct Line {
        bool valid = false;      // at least one point
        bool mature = false;     // enough history for the slope to be trusted
        std::int64_t t0Ns = 0;   // reference time
        double f0 = 0;           // frame at t0Ns
        double framesPerNs = 0;  // measured stream rate against the monotonic clock

        double FrameAt(std::int64_t timeNs) const {
            return f0 + framesPerNs * static_cast<double>(timeNs - t0Ns);
        }
        // Stream frames per monotonic second over the nominal rate (1.0 when not yet mature).
        double RateRatio(double framesPerSecond) const {
            return mature ? framesPerNs * 1e9 / framesPerSecond : 1.0;
        }
    };
    // Any thread; lock-free (a sequence lock over atomics, retried while the callback writes).
    Line Current() const;

    static constexpr std::int64_t kBucketNs = 500'000'000;
    static constexpr std::size_t kBuckets = 32;                // 16 s of history for the line
    static constexpr std::size_t kEnvelopeBuckets = kBuckets;  // the line touches the highest
    static constexpr std::int64_t kMatureNs = 6'000'000'000;
    static constexpr double kLateSeconds = 0.0005;  // a bucket this far below the line is late

  private:
    struct Point {
        double x = 0;  // seconds since the reference
        double y = 0;  // frames over the nominal rate times x
    };
    void CloseBucket();
    void Refit();
    // Least squares over the points no further below the fitted line: -1 when fitted, else the
    // number of points that qualified (too few, the line unchanged).
    int Fit(double lowest);
    void Publish();

    const double rate_;
    bool started_ = false;
    std::int64_t refNs_ = 0;
    std::int64_t refFrame_ = 0;
    std::int64_t bucketEndNs_ = 0;
    bool bucketHasPoint_ = false;
    Point bucketBest_;
    std::array<Point, kBuckets> ring_{};
    std::size_t count_ = 0;
    std::size_t next_ = 0;
    double slope_ = 0;      // frames per second over the nominal rate
    double offset_ = 0;     // y at x = 0 of the envelope
    double fitOffset_ = 0;  // y at x = 0 of the least-squares line
    bool fitted_ = false;   // whether the slope has been fitted
    bool mature_ = false;

    std::atomic<std::uint32_t> version_{0};
    std::atomic<bool> valid_{false};
    std::atomic<bool> matureOut_{false};
    std::atomic<std::int64_t> t0Out_{0};
    std::atomic<double> f0Out_{0};
    std::atomic<double> perNsOut_{0};
};

}  // namespace platform::player
