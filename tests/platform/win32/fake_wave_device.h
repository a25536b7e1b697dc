// A waveOut device in virtual time for the block queue's tests: it plays the queued blocks one
// after another at its own clock's rate (some ppm off the monotonic clock), gives a block back when
// it has played it, reports its position in steps as Wine does, and keeps what it played. It can
// fail, stop playing, or stop being the default output at a given moment.
#pragma once

#include <cmath>
#include <cstdint>
#include <deque>
#include <vector>

#include "platform/win32/wave_device.h"

namespace fake_wave {

struct Model {
    double ppm = 0;                            // the device's clock against the monotonic clock
    std::int64_t startNs = 2'000'000;          // from the first block to its first frame played
    std::int64_t positionStepNs = 10'000'000;  // the position moves in steps this long; 0: smoothly
    std::int64_t failAtNs = INT64_MAX;  // from here every call fails (the output was removed) ...
    std::int64_t stopAtNs = INT64_MAX;  // ... or the output stops playing without a word
    std::int64_t newDefaultAtNs = INT64_MAX;  // another output becomes the default
    std::int64_t backAtNs = INT64_MAX;        // an output can be opened again from here (a handle
                                              // opened before stays broken)
    std::uint32_t volume = 0xFFFFFFFFu;       // the output's volume before the program sets one
};

struct Onset {
    std::int64_t frame;  // in the frames played since the device was first opened
    float level;
};

class FakeWaveDevice : public platform::win32::WaveDevice {
  public:
    // keepAudio: keep every frame played (Audio()), not only the onsets.
    FakeWaveDevice(const Model& model, const std::int64_t& nowNs, bool keepAudio = false)
        : model_(model), now_(nowNs), keepAudio_(keepAudio), volume_(model.volume) {}

    bool Open(std::uint32_t rate, unsigned channels, std::size_t blocks) override {
        if (now_ >= std::min(model_.failAtNs, model_.stopAtNs) && now_ < model_.backAtNs)
            return false;
        rate_ = rate;
        channels_ = channels;
        done_.assign(blocks, true);
        queue_.clear();
        open_ = true;
        openNs_ = now_;
        started_ = false;
        playedFrames_ = 0;
        consumed_ = 0;
        markOpen_ = true;
        ++opens_;
        return true;
    }
    void Close() override {
        Advance();
        open_ = false;
        queue_.clear();
    }
    bool Queue(std::size_t index, const std::int16_t* samples, std::uint32_t frames) override {
        if (!open_ || Failing())
            return false;
        Advance();
        if (!started_) {
            // Playback (re)starts with this block.
            started_ = true;
            anchorNs_ = std::max(now_, openNs_ + model_.startNs);
            anchorFrames_ = playedFrames_;
        }
        done_[index] = false;
        queue_.push_back(
            Block{index, std::vector<std::int16_t>(samples, samples + frames * channels_)});
        return true;
    }
    bool Played(std::size_t index) const override {
        const_cast<FakeWaveDevice*>(this)->Advance();
        return done_[index];
    }
    bool Position(std::uint64_t& frames) override {
        if (!open_ || Failing())
            return false;
        Advance();
        std::int64_t t = now_;
        if (model_.positionStepNs > 0)
            t -= (t - openNs_) % model_.positionStepNs;
        frames = static_cast<std::uint64_t>(std::min(PlayedBy(t), playedFrames_));
        return true;
    }
    bool GetVolume(std::uint32_t& volume) override {
        volume = volume_;
        return open_;
    }
    bool SetVolume(std::uint32_t volume) override {
        if (!open_)
            return false;
        volumeLog_.push_back({now_, volume});
        volume_ = volume;
        return true;
    }
    std::uint32_t DefaultOutput() override { return now_ >= model_.newDefaultAtNs ? 2 : 1; }

    // When the oldest queued block will have been played (INT64_MAX when none is queued).
    std::int64_t NextDoneNs() const {
        if (!open_ || !started_ || queue_.empty() || Stopped() || Failing())
            return INT64_MAX;
        const std::int64_t end = playedFrames_ + queue_.front().frames(channels_) - consumed_;
        return TimeOfFrame(end - anchorFrames_);
    }

    const std::vector<Onset>& Onsets() const { return onsets_; }
    const std::vector<float>& Audio() const { return played_; }
    int Underruns() const { return underruns_; }
    int Opens() const { return opens_; }
    std::uint32_t Volume() const { return volume_; }
    struct VolumeSet {
        std::int64_t ns;
        std::uint32_t volume;
    };
    const std::vector<VolumeSet>& VolumeLog() const { return volumeLog_; }
    // Where the first frame played after each open lies in the frames played.
    const std::vector<std::int64_t>& OpenedAt() const { return openedAt_; }

  private:
    struct Block {
        std::size_t index;
        std::vector<std::int16_t> samples;
        std::int64_t frames(unsigned channels) const {
            return static_cast<std::int64_t>(samples.size() / channels);
        }
    };
    // A handle opened before the system had an output again stays broken.
    bool Broken() const { return openNs_ < model_.backAtNs; }
    bool Failing() const { return now_ >= model_.failAtNs && Broken(); }
    bool Stopped() const { return now_ >= model_.stopAtNs && Broken(); }
    double Rate() const { return rate_ * (1 + model_.ppm * 1e-6); }
    // Frames played since the open by time t, had the queue never run dry since the anchor. Each
    // step is stored as a double: x87 keeps more bits in its registers than a double holds, and
    // how many it keeps depends on where the compiler spills, so the same t gave a different
    // count at different calls in the 32-bit build (a block back a nanosecond early).
    std::int64_t PlayedBy(std::int64_t t) const {
        if (!started_ || t <= anchorNs_)
            return anchorFrames_;
        volatile double seconds = static_cast<double>(t - anchorNs_) * 1e-9;
        volatile double rate = Rate();
        volatile double frames = seconds * rate;
        return anchorFrames_ + static_cast<std::int64_t>(std::floor(frames));
    }
    // The first nanosecond by which the frames have been played. The estimate is checked against
    // PlayedBy itself: x87 and SSE round the last bit differently, and a block given back a
    // nanosecond before PlayedBy counts it played would be waited for at that moment forever.
    std::int64_t TimeOfFrame(std::int64_t framesAfterAnchor) const {
        const std::int64_t frames = anchorFrames_ + framesAfterAnchor;
        std::int64_t t = anchorNs_ + static_cast<std::int64_t>(std::ceil(
                                         static_cast<double>(framesAfterAnchor) / Rate() * 1e9));
        while (PlayedBy(t) < frames)
            ++t;
        while (t > anchorNs_ && PlayedBy(t - 1) >= frames)
            --t;
        return t;
    }
    // Plays the frames due by now: blocks whose last frame has been played come back.
    void Advance() {
        if (!open_ || !started_)
            return;
        std::int64_t t = now_;
        if (Stopped())
            t = std::max(model_.stopAtNs, anchorNs_);
        const std::int64_t by = PlayedBy(t);
        while (!queue_.empty()) {
            Block& b = queue_.front();
            const std::int64_t n = b.frames(channels_);
            const std::int64_t left = n - consumed_;
            const std::int64_t take = std::min(left, by - playedFrames_);
            for (std::int64_t i = 0; i < take; ++i)
                Take(b.samples[static_cast<std::size_t>((consumed_ + i) * channels_)]);
            consumed_ += take;
            playedFrames_ += take;
            if (consumed_ < n)
                break;
            done_[b.index] = true;
            consumed_ = 0;
            queue_.pop_front();
        }
        if (queue_.empty() && playedFrames_ < by) {
            // Ran dry: playback stands until the next block, which then comes late.
            started_ = false;
            ++underruns_;
        }
    }
    void Take(std::int16_t sample) {
        if (markOpen_) {
            openedAt_.push_back(Total());
            markOpen_ = false;
        }
        const float v = static_cast<float>(sample) / 32767.0f;
        if (v != 0.0f) {
            if (silentRun_ >= rate_ / 1000)
                onsets_.push_back(Onset{Total(), std::abs(v)});
            silentRun_ = 0;
        } else {
            ++silentRun_;
        }
        if (keepAudio_)
            played_.push_back(v);
        ++total_;
    }
    std::int64_t Total() const { return total_; }

    Model model_;
    const std::int64_t& now_;
    bool keepAudio_;
    bool markOpen_ = false;
    std::int64_t total_ = 0;
    std::uint32_t rate_ = 0;
    unsigned channels_ = 1;
    bool open_ = false;
    bool started_ = false;
    std::int64_t openNs_ = 0;
    std::int64_t anchorNs_ = 0;
    std::int64_t anchorFrames_ = 0;
    std::int64_t playedFrames_ = 0;
    std::int64_t consumed_ = 0;
    std::vector<bool> done_;
    std::deque<Block> queue_;
    std::uint32_t volume_;
    std::vector<VolumeSet> volumeLog_;
    std::vector<Onset> onsets_;
    std::vector<float> played_;
    std::vector<std::int64_t> openedAt_;
    std::int64_t silentRun_ = 1 << 30;
    int underruns_ = 0;
    int opens_ = 0;
};

}  // namespace fake_wave
