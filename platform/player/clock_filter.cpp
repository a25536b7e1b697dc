// The envelope clock filter: bucket maxima, a least-squares slope and the envelope's offset.
#include "platform/player/clock_filter.h"

#include <algorithm>
#include <cmath>

namespace platform::player {

ClockFilter::ClockFilter(double framesPerSecond) : rate_(framesPerSecond) {}

void ClockFilter::Add(std::int64_t timeNs, std::int64_t frame) {
    if (!started_) {
        started_ = true;
        refNs_ = timeNs;
        refFrame_ = frame;
        bucketEndNs_ = timeNs + kBucketNs;
    }
    while (timeNs >= bucketEndNs_) {
        CloseBucket();
        bucketEndNs_ += kBucketNs;
    }
    const double x = static_cast<double>(timeNs - refNs_) * 1e-9;
    const Point p{x, static_cast<double>(frame - refFrame_) - rate_ * x};
    // The earliest callback for its frames is the one the furthest above the nominal line.
    if (!bucketHasPoint_ || p.y - slope_ * p.x > bucketBest_.y - slope_ * bucketBest_.x) {
        bucketBest_ = p;
        bucketHasPoint_ = true;
    }
    // A point above the line means that it lags: lift it at once, not a bucket later.
    const double above = p.y - (offset_ + slope_ * p.x);
    if (!valid_.load(std::memory_order_relaxed) || above > 0) {
        offset_ = p.y - slope_ * p.x;
        Publish();
    }
}

void ClockFilter::CloseBucket() {
    if (!bucketHasPoint_)
        return;
    ring_[next_] = bucketBest_;
    next_ = (next_ + 1) % kBuckets;
    count_ = std::min(count_ + 1, kBuckets);
    bucketHasPoint_ = false;
    Refit();
    Publish();
}

int ClockFilter::Fit(double lowest) {
    const std::size_t oldest = (next_ + kBuckets - count_) % kBuckets;
    double sx = 0, sy = 0, sxx = 0, sxy = 0, n = 0;
    for (std::size_t i = 0; i < count_; ++i) {
        const Point& p = ring_[(oldest + i) % kBuckets];
        if (p.y - (fitOffset_ + slope_ * p.x) < lowest)
            continue;
        sx += p.x;
        sy += p.y;
        sxx += p.x * p.x;
        sxy += p.x * p.y;
        n += 1;
    }
    const double den = n * sxx - sx * sx;
    if (n < 3 || den <= 0)
        return static_cast<int>(n);
    // The fit runs below the envelope by the callbacks' mean delay, a constant that the latency
    // absorbs, and is far steadier than any single envelope point.
    slope_ = (n * sxy - sx * sy) / den;
    fitOffset_ = (sy - slope_ * sx) / n;
    return -1;
}

void ClockFilter::Refit() {
    const std::size_t oldest = (next_ + kBuckets - count_) % kBuckets;
    const double span = ring_[(next_ + kBuckets - 1) % kBuckets].x - ring_[oldest].x;
    mature_ = span * 1e9 >= static_cast<double>(kMatureNs);
    if (mature_) {
        // Buckets whose every callback came late (the server held back for a while) lie below
        // the fitted line: the rate is fitted without them. When the stream has lost audio, the
        // buckets after the loss are all below; the line keeps its rate while any bucket from
        // before remains, and is fitted afresh from the buckets after it once none does.
        const int left = fitted_ ? Fit(-kLateSeconds * rate_) : 0;
        if (left == 0 && Fit(-1e300) < 0) {
            Fit(-kLateSeconds * rate_);
            fitted_ = true;
        }
    }
    // The offset touches the highest of the recent bucket maxima: no frame that the stream has
    // asked for lies beyond the line, so a request placed ahead of it is never too late.
    const std::size_t recent = std::min(count_, kEnvelopeBuckets);
    double best = -1e300;
    for (std::size_t i = 0; i < recent; ++i) {
        const Point& p = ring_[(next_ + kBuckets - 1 - i) % kBuckets];
        best = std::max(best, p.y - slope_ * p.x);
    }
    offset_ = best;
}

void ClockFilter::Publish() {
    // A sequence lock without fences: the fields are stored with release and loaded with
    // acquire, so a reader that saw any new field also sees the odd version before it.
    const std::uint32_t v = version_.load(std::memory_order_relaxed);
    version_.store(v + 1, std::memory_order_relaxed);
    // Re-express the line at the reference time as absolute frames.
    t0Out_.store(refNs_, std::memory_order_release);
    f0Out_.store(static_cast<double>(refFrame_) + offset_, std::memory_order_release);
    perNsOut_.store((rate_ + slope_) * 1e-9, std::memory_order_release);
    matureOut_.store(mature_, std::memory_order_release);
    valid_.store(true, std::memory_order_release);
    version_.store(v + 2, std::memory_order_release);
}

ClockFilter::Line ClockFilter::Current() const {
    for (;;) {
        const std::uint32_t v1 = version_.load(std::memory_order_acquire);
        Line line;
        line.valid = valid_.load(std::memory_order_acquire);
        line.mature = matureOut_.load(std::memory_order_acquire);
        line.t0Ns = t0Out_.load(std::memory_order_acquire);
        line.f0 = f0Out_.load(std::memory_order_acquire);
        line.framesPerNs = perNsOut_.load(std::memory_order_acquire);
        const std::uint32_t v2 = version_.load(std::memory_order_relaxed);
        if (v1 == v2 && (v1 & 1) == 0)
            return line;
    }
}

}  // namespace platform::player
