// Opening RtAudio quietly and running its callback into the engine.
#include "platform/linux/rtaudio_output.h"

#include <RtAudio.h>
#include <fcntl.h>
#include <pthread.h>
#include <sched.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/linux/monotonic_clock.h"

namespace platform::linux_backend {
namespace {

// The audio libraries write to stderr while probing (a missing server, a missing card): send
// their words to /dev/null for the duration.
class QuietStderr {
  public:
    QuietStderr() : saved_(dup(STDERR_FILENO)) {
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null >= 0) {
            dup2(null, STDERR_FILENO);
            close(null);
        }
    }
    ~QuietStderr() {
        if (saved_ >= 0) {
            dup2(saved_, STDERR_FILENO);
            close(saved_);
        }
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

  private:
    int saved_;
};

void IgnoreError(RtAudioError::Type, const std::string&) {}

// The threads that the audio libraries start while the stream opens (the callback thread and
// the sound server client's own) inherit the opener's scheduling: make that real-time for the
// duration, so that they keep up on a busy machine. Without the right to it, nothing changes.
class RealTimeWhileOpening {
  public:
    RealTimeWhileOpening() {
        pthread_getschedparam(pthread_self(), &policy_, &saved_);
        sched_param param{};
        param.sched_priority = sched_get_priority_min(SCHED_FIFO) + 20;
        pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
    }
    ~RealTimeWhileOpening() { pthread_setschedparam(pthread_self(), policy_, &saved_); }
    RealTimeWhileOpening(const RealTimeWhileOpening&) = delete;
    RealTimeWhileOpening& operator=(const RealTimeWhileOpening&) = delete;

  private:
    int policy_ = SCHED_OTHER;
    sched_param saved_{};
};

// A callback that comes sooner than this after the previous one returned did not wait for the
// stream (the opening prefill, or the rest of a burst).
constexpr std::int64_t kWaitedNs = 1'000'000;

}  // namespace

RtAudioOutput::RtAudioOutput() = default;
RtAudioOutput::~RtAudioOutput() {
    Close();
}

bool RtAudioOutput::Open(std::uint32_t sampleRate, unsigned channels, unsigned bufferFrames) {
    // The sound server's buffering sets how often it wakes us: at 15 ms the client library's
    // wake-ups alone cost 4% of a core; at 120 ms they cost well under 1%, and a busy machine
    // has far more room before the sound breaks up. A click's timing does not depend on it, only
    // the delay from On/Off to the first click (about 160 ms).
    setenv("PULSE_LATENCY_MSEC", "120", 0);
    const QuietStderr quiet;
    const RealTimeWhileOpening realTime;
    for (const RtAudio::Api api : {RtAudio::LINUX_PULSE, RtAudio::LINUX_ALSA, RtAudio::UNIX_JACK}) {
        try {
            auto audio = std::make_unique<RtAudio>(api);
            audio->showWarnings(false);
            if (audio->getCurrentApi() != api || audio->getDeviceCount() == 0)
                continue;
            RtAudio::StreamParameters params;
            params.deviceId = audio->getDefaultOutputDevice();
            params.nChannels = channels;
            RtAudio::StreamOptions options;
            options.flags = RTAUDIO_MINIMIZE_LATENCY;
            options.streamName = "Metronome";
            unsigned frames = bufferFrames;
            audio->openStream(&params, nullptr, RTAUDIO_FLOAT32, sampleRate, &frames, &Callback,
                              this, &options, &IgnoreError);
            if (!audio->isStreamOpen())
                continue;
            sampleRate_ = audio->getStreamSampleRate();
            if (sampleRate_ == 0)
                sampleRate_ = sampleRate;
            channels_ = channels;
            bufferFrames_ = frames;
            apiName_ = RtAudio::getApiName(api);
            audio_ = std::move(audio);
            return true;
        } catch (const std::exception&) {
            continue;
        }
    }
    return false;
}

bool RtAudioOutput::Start(player::PlayerEngine& engine) {
    if (!audio_)
        return false;
    engine_ = &engine;
    try {
        const QuietStderr quiet;
        const RealTimeWhileOpening realTime;
        audio_->startStream();
        return audio_->isStreamRunning();
    } catch (const std::exception&) {
        return false;
    }
}

void RtAudioOutput::Close() {
    if (!audio_)
        return;
    try {
        const QuietStderr quiet;
        if (audio_->isStreamRunning())
            audio_->stopStream();
        if (audio_->isStreamOpen())
            audio_->closeStream();
    } catch (const std::exception&) {
    }
    audio_.reset();
}

int RtAudioOutput::Callback(void* out, void*, unsigned frames, double, unsigned,
                            void* self) noexcept {
    auto* output = static_cast<RtAudioOutput*>(self);
    const std::int64_t now = MonotonicNowNs();
    const bool waited = output->lastReturnNs_ != 0 && now - output->lastReturnNs_ > kWaitedNs;
    output->engine_->Render(static_cast<float*>(out), frames, now, waited);
    output->lastReturnNs_ = MonotonicNowNs();
    return 0;
}

}  // namespace platform::linux_backend
