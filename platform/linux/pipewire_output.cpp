// The native PipeWire client: a thread loop that connects and reconnects, a playback stream that
// the graph pulls each cycle, and the stream's channel volumes as the program's volume.
#include "platform/linux/pipewire_output.h"

#include <pipewire/pipewire.h>
#include <spa/param/audio/format-utils.h>
#include <spa/param/props.h>
#include <spa/pod/builder.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <ctime>

#include "platform/linux/graph_cycle.h"
#include "platform/linux/mixer_volume.h"
#include "platform/linux/monotonic_clock.h"

// The library's loop calls are macros over statement expressions, a GNU extension.
#pragma GCC diagnostic ignored "-Wpedantic"

namespace platform::linux_backend {
namespace {

constexpr std::uint32_t kFrameBytes = sizeof(float) * SoundOutput::kChannels;
constexpr int kFirstRetryMs = 100;
constexpr int kLastRetryMs = 1000;  // a restarted server has the click back within a second
// PipeWire's roles are capitalised; pipewire-pulse shows the mixers "production" as this.
constexpr const char* kRole = "Production";
constexpr const char* kLatency = "1024/48000";
static_assert(PipeWireOutput::kLatencyFrames == 1024 && SoundOutput::kRate == 48000);

void Signal(int fd) noexcept {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(fd, &one, sizeof one);
}

bool Drain(int fd) noexcept {
    std::uint64_t count = 0;
    return fd >= 0 && read(fd, &count, sizeof count) == static_cast<ssize_t>(sizeof count);
}

// What the server says of the stream's volume is the same as ours: no value yet is not.
bool Near(const std::array<float, 2>& a, const std::array<float, 2>& b) {
    return a[0] >= 0 && b[0] >= 0 && SameChannel(a[0], b[0]) && SameChannel(a[1], b[1]);
}

void InitLibrary() {
    static const bool done = [] {
        pw_init(nullptr, nullptr);
        return true;
    }();
    (void)done;
}

}  // namespace

struct PipeWireOutput::Listeners {
    explicit Listeners(PipeWireOutput* owner) : out(owner) {
        events.version = PW_VERSION_STREAM_EVENTS;
        events.state_changed = &StateChanged;
        events.control_info = &ControlInfo;
        events.process = &Process;
    }

    static void StateChanged(void* data, pw_stream_state, pw_stream_state state, const char*) {
        static_cast<Listeners*>(data)->out->StateChanged(state);
    }
    static void ControlInfo(void* data, std::uint32_t id, const pw_stream_control* control) {
        if (id == SPA_PROP_channelVolumes && control)
            static_cast<Listeners*>(data)->out->TakeControl(*control);
    }
    // The graph's real-time thread.
    static void Process(void* data) { static_cast<Listeners*>(data)->out->Process(); }

    PipeWireOutput* out;
    spa_hook hook{};
    pw_stream_events events{};
};

PipeWireOutput::PipeWireOutput(player::PlayerEngine& engine) : engine_(engine) {}

PipeWireOutput::~PipeWireOutput() {
    Close();
}

void PipeWireOutput::SetVolume(std::uint32_t volume) {
    volume_.store(volume);
    volumeSet_.store(true);
    if (!loop_) {
        engine_.SetVolume(volume);
        return;
    }
    // The client thread holds its lock only briefly; the graph's thread never takes it.
    pw_thread_loop_lock(loop_);
    ApplyVolume();
    pw_thread_loop_unlock(loop_);
}

bool PipeWireOutput::TakeVolumeNotice() {
    return Drain(noticeFd_);
}

void PipeWireOutput::NoticeVolume() noexcept {
    if (noticeFd_ >= 0)
        Signal(noticeFd_);
}

void PipeWireOutput::ApplyVolume() {
    const std::uint32_t volume = Volume();
    if (!stream_ || !Playing() || !ServerVolume()) {
        engine_.SetVolume(volume);
        return;
    }
    std::array<float, 2> values{ToChannel(static_cast<std::uint16_t>(volume & 0xFFFFu)),
                                ToChannel(static_cast<std::uint16_t>(volume >> 16))};
    if (Near(values, serverValues_))
        return;
    if (pw_stream_set_control(stream_, SPA_PROP_channelVolumes, 2, values.data(), 0) < 0) {
        serverVolume_.store(false);
        engine_.SetVolume(volume);
        return;
    }
    serverValues_ = values;
}

void PipeWireOutput::TakeControl(const pw_stream_control& control) {
    if (control.n_values == 0 || !control.values)
        return;
    const std::array<float, 2> values{control.values[0],
                                      control.values[control.n_values >= 2 ? 1 : 0]};
    if (Near(values, serverValues_))
        return;  // ours coming back, or no change
    serverValues_ = values;
    // Until the stream runs, what the server tells is the volume it restored for the program.
    if (streamVolumeSeen_ || !volumeSet_.load()) {
        volume_.store(std::uint32_t{FromChannel(values[0])} |
                      (std::uint32_t{FromChannel(values[1])} << 16));
        if (streamVolumeSeen_)
            NoticeVolume();
    }
}

bool PipeWireOutput::Start(int waitMs) {
    if (loop_)
        return Playing();
    InitLibrary();
    loop_ = pw_thread_loop_new("sound-server", nullptr);
    if (!loop_)
        return false;
    listeners_ = std::make_unique<Listeners>(this);
    // Without it the mixer's changes go unheard.
    noticeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    pw_thread_loop_lock(loop_);
    retry_ = pw_loop_add_timer(pw_thread_loop_get_loop(loop_), &OnRetry, this);
    if (!retry_ || pw_thread_loop_start(loop_) < 0) {
        pw_thread_loop_unlock(loop_);
        Close();
        return false;
    }
    Connect();
    // Wait for the first stream to run with its volume, or for the first try to fail.
    const std::int64_t until = MonotonicNowNs() + std::int64_t{waitMs} * 1'000'000;
    while (!(Playing() && volumeKnown_.load()) && !retryPending_ && MonotonicNowNs() < until) {
        pw_thread_loop_unlock(loop_);
        timespec pause{0, 2'000'000};
        nanosleep(&pause, nullptr);
        pw_thread_loop_lock(loop_);
    }
    pw_thread_loop_unlock(loop_);
    return Playing();
}

void PipeWireOutput::Close() {
    if (!loop_)
        return;
    pw_thread_loop_lock(loop_);
    Drop();
    if (retry_) {
        pw_loop_destroy_source(pw_thread_loop_get_loop(loop_), retry_);
        retry_ = nullptr;
    }
    pw_thread_loop_unlock(loop_);
    pw_thread_loop_stop(loop_);  // joins the client thread
    pw_thread_loop_destroy(loop_);
    loop_ = nullptr;
    listeners_.reset();
    if (noticeFd_ >= 0)
        close(noticeFd_);
    noticeFd_ = -1;
}

void PipeWireOutput::Connect() {
    // The library adds the process's binary, its id and the user's name. With "loop.cancel" the
    // context's own thread is ended by cancelling it rather than by a message: a message sent
    // before that thread has entered its loop can be lost, and a context that cannot connect (no
    // server) is destroyed at once, so the join would wait for ever.
    pw_properties* who = pw_properties_new(PW_KEY_APP_NAME, StreamIdentity::kName, PW_KEY_APP_ID,
                                           StreamIdentity::kId, PW_KEY_APP_ICON_NAME,
                                           StreamIdentity::kIcon, "loop.cancel", "true", nullptr);
    context_ = pw_context_new(pw_thread_loop_get_loop(loop_), who, 0);
    if (!context_) {
        RetryLater();
        return;
    }
    core_ = pw_context_connect(context_, nullptr, 0);
    if (!core_) {
        Drop();
        RetryLater();
        return;
    }
    OpenStream();
}

void PipeWireOutput::OpenStream() {
    pw_properties* what = pw_properties_new(
        PW_KEY_MEDIA_TYPE, "Audio", PW_KEY_MEDIA_CATEGORY, "Playback", PW_KEY_MEDIA_ROLE, kRole,
        PW_KEY_MEDIA_NAME, StreamIdentity::kStreamName, PW_KEY_MEDIA_ICON_NAME,
        StreamIdentity::kIcon, PW_KEY_NODE_LATENCY, kLatency, PW_KEY_APP_NAME,
        StreamIdentity::kName, PW_KEY_APP_ID, StreamIdentity::kId, PW_KEY_APP_ICON_NAME,
        StreamIdentity::kIcon, nullptr);
    // The mixers show the stream's own properties: the process that the library found, too.
    if (const pw_properties* who = pw_context_get_properties(context_)) {
        for (const char* key : {PW_KEY_APP_PROCESS_BINARY, PW_KEY_APP_PROCESS_ID,
                                PW_KEY_APP_PROCESS_USER, PW_KEY_APP_PROCESS_HOST}) {
            if (const char* value = pw_properties_get(who, key))
                pw_properties_set(what, key, value);
        }
    }
    stream_ = pw_stream_new(core_, StreamIdentity::kStreamName, what);
    if (!stream_) {
        Lose();
        return;
    }
    streaming_ = false;
    pw_stream_add_listener(stream_, &listeners_->hook, &listeners_->events, listeners_.get());
    std::array<std::uint8_t, 512> buffer{};
    spa_pod_builder builder{};
    spa_pod_builder_init(&builder, buffer.data(), static_cast<std::uint32_t>(buffer.size()));
    spa_audio_info_raw format{};
    format.format = SPA_AUDIO_FORMAT_F32;
    format.rate = kRate;
    format.channels = kChannels;
    format.position[0] = SPA_AUDIO_CHANNEL_FL;
    format.position[1] = SPA_AUDIO_CHANNEL_FR;
    const spa_pod* params[1] = {
        spa_format_audio_raw_build(&builder, SPA_PARAM_EnumFormat, &format)};
    // Linked to the default sink, and moved with it; the graph's thread calls Process().
    const auto flags = static_cast<pw_stream_flags>(
        PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS | PW_STREAM_FLAG_RT_PROCESS);
    if (pw_stream_connect(stream_, PW_DIRECTION_OUTPUT, PW_ID_ANY, flags, params, 1) < 0)
        Lose();
}

void PipeWireOutput::Drop() {
    if (stream_) {
        // After this no callback of the stream runs, on any thread.
        pw_stream_destroy(stream_);
        stream_ = nullptr;
        listeners_->hook = spa_hook{};
    }
    if (core_) {
        pw_core_disconnect(core_);
        core_ = nullptr;
    }
    if (context_) {
        pw_context_destroy(context_);
        context_ = nullptr;
    }
    lost_ = false;
    streaming_ = false;
    streamVolumeSeen_ = false;
    serverValues_ = {-1.0f, -1.0f};
    if (playing_.exchange(false))
        engine_.StreamLost();
}

void PipeWireOutput::Lose() {
    lost_ = true;
    // Soon, but from the loop: the stream may be inside its own callback.
    timespec soon{0, 1'000'000};
    retryPending_ = true;
    pw_loop_update_timer(pw_thread_loop_get_loop(loop_), retry_, &soon, nullptr, false);
}

void PipeWireOutput::RetryLater() {
    backoffMs_ = backoffMs_ == 0 ? kFirstRetryMs : std::min(backoffMs_ * 2, kLastRetryMs);
    timespec when{backoffMs_ / 1000, (backoffMs_ % 1000) * 1'000'000L};
    retryPending_ = true;
    pw_loop_update_timer(pw_thread_loop_get_loop(loop_), retry_, &when, nullptr, false);
}

void PipeWireOutput::OnRetry(void* self, std::uint64_t) {
    auto* out = static_cast<PipeWireOutput*>(self);
    out->retryPending_ = false;
    if (out->lost_) {
        // The server went away (or never was): start afresh later, never in a loop.
        out->Drop();
        out->RetryLater();
        return;
    }
    out->Connect();
}

void PipeWireOutput::StateChanged(int state) {
    switch (static_cast<pw_stream_state>(state)) {
        case PW_STREAM_STATE_STREAMING:
            if (streaming_)
                break;
            streaming_ = true;
            backoffMs_ = 0;
            if (everPlayed_)
                reconnects_.fetch_add(1, std::memory_order_relaxed);
            everPlayed_ = true;
            playing_.store(true, std::memory_order_relaxed);
            if (!streamVolumeSeen_) {
                streamVolumeSeen_ = true;
                serverVolume_.store(true);
                // The server scales what the engine renders at full: also what is on its way.
                engine_.SetVolume(0xFFFFFFFFu);
                if (volumeSet_.load())
                    ApplyVolume();  // a stream of a server that came back gets the slider's
                volumeKnown_.store(true);
            }
            break;
        case PW_STREAM_STATE_ERROR:
        case PW_STREAM_STATE_UNCONNECTED:
            // The server went away, or the stream could not be linked: a new connection finds
            // the server that is there then.
            if (stream_ && !lost_)
                Lose();
            break;
        default:
            break;
    }
}

// The audio callback: no lock, no allocation, no I/O, no logging.
void PipeWireOutput::Process() noexcept {
    pw_buffer* buffer = pw_stream_dequeue_buffer(stream_);
    if (!buffer)
        return;
    spa_data& data = buffer->buffer->datas[0];
    if (!data.data || !data.chunk) {
        pw_stream_queue_buffer(stream_, buffer);
        return;
    }
    const std::uint32_t frames = FramesToFill(buffer->requested, data.maxsize, kFrameBytes);
    pw_time time{};
    GraphTime graph;
    if (pw_stream_get_time_n(stream_, &time, sizeof time) == 0) {
        graph.nowNs = time.now;
        graph.rateNum = time.rate.num;
        graph.rateDenom = time.rate.denom;
        graph.delay = time.delay;
        graph.queuedBytes = time.queued;
        graph.bufferedFrames = time.buffered;
    }
    const player::StreamReport report =
        ReportOf(graph, engine_.FramesRendered(), kRate, kFrameBytes, MonotonicNowNs());
    engine_.Render(static_cast<float*>(data.data), frames, report);
    data.chunk->offset = 0;
    data.chunk->stride = static_cast<std::int32_t>(kFrameBytes);
    data.chunk->size = frames * kFrameBytes;
    pw_stream_queue_buffer(stream_, buffer);
}

}  // namespace platform::linux_backend
