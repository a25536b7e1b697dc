// The face of the player: a request is checked and placed on the thread that plays it, then handed
// over the ring to the audio callback.
#include "platform/player/player_engine.h"

#include <optional>

#include "platform/sound_images.h"
#include "platform/wave_image.h"

namespace platform::player {

PlayerEngine::PlayerEngine(const PlayerOptions& options, const MonotonicClock& clock)
    : options_(options),
      monotonic_(clock),
      clock_(options.sampleRate),
      placer_(options, clock, clock_, landed_),
      renderer_(options, ring_, clock_, landed_) {}

void PlayerEngine::SetWaker(OutputWaker* waker) noexcept {
    placer_.SetRewriting(waker != nullptr);
    renderer_.SetRewriting(waker != nullptr);
    waker_.store(waker, std::memory_order_release);
}

BOOL PlayerEngine::Play(const char* image, DWORD flags) noexcept {
    PlayRequest request;
    BOOL accepted = TRUE;
    if (image) {
        std::optional<WaveImage> wave;
        if (flags & SND_MEMORY) {
            const std::size_t bytes = SoundImageSize(image);
            if (bytes)
                wave = ParseWaveImage(image, bytes);
        }
        if (wave && wave->Frames() > 0 && wave->dataBytes <= UINT32_MAX) {
            request.data = wave->data;
            request.dataBytes = static_cast<std::uint32_t>(wave->dataBytes);
            request.sampleRate = wave->sampleRate;
            request.channels = wave->channels;
            request.bitsPerSample = wave->bitsPerSample;
            request.loop = (flags & SND_LOOP) != 0;
        } else {
            accepted = FALSE;
        }
    }
    if (const TickContext& tick = CurrentTick(); tick.run)
        request.frame = placer_.Place(tick);
    else
        PlaceNow(request);
    ring_.Push(request);
    // Only what would otherwise wait for the next callback, or land late, is worth a wake-up.
    OutputWaker* waker = waker_.load(std::memory_order_acquire);
    if (waker && (request.frame == PlayRequest::kAsap || request.frame < FramesRendered()))
        waker->Wake();
    return accepted;
}

void PlayerEngine::PlaceNow(PlayRequest& request) noexcept {
    request.frame = PlayRequest::kAsap;
    if (options_.placement == Placement::kAtWakeUp)
        return;
    const StreamClock::Reading r = clock_.Current();
    if (!r.valid)
        return;
    request.ticket = landed_.NewTicket();
    const std::int64_t now = monotonic_.NowNs();
    // Where it will land at the latest, until the callback says where it did.
    const bool rewriting = waker_.load(std::memory_order_relaxed) != nullptr;
    landed_.NoteAsked(
        {now, r.Reachable(now, rewriting, options_.SafetyFrames()), r.epoch, request.ticket});
}

}  // namespace platform::player
