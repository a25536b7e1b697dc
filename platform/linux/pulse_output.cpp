// The client thread of the sound server: connect, open a playback stream, write what the engine
// renders with the server's report of what is heard, and connect again when the server goes.
#include "platform/linux/pulse_output.h"

#include <pulse/pulseaudio.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/linux/mixer_volume.h"
#include "platform/linux/monotonic_clock.h"

namespace platform::linux_backend {
namespace {

// The queue per kind of server, and the reasons for it: output_tuning.h.
constexpr std::int64_t FramesOf(std::uint64_t us) {
    return static_cast<std::int64_t>(us * PulseOutput::kRate / 1'000'000);
}
constexpr std::array<float, FramesOf(tuning::kPipeWirePulse.guardUs) * PulseOutput::kChannels>
    kSilence{};  // what a flushing layout writes first
static_assert(tuning::kPipeWirePulse.flush && !tuning::kPulseAudio.flush);
constexpr int kClientNice = -10;  // a nice value is the thread's own on Linux
constexpr int kFirstRetryMs = 100;
constexpr int kLastRetryMs = 1000;  // a restarted server has the click back within a second

constexpr std::size_t kFrameBytes = sizeof(float) * PulseOutput::kChannels;

// Where the library's lookup ends once the user's own runtime folder is out of the way.
constexpr const char* kSystemServer = "unix:/var/run/pulse/native";

// The library finds the user's own server in a runtime folder: $PULSE_RUNTIME_PATH,
// $XDG_RUNTIME_DIR/pulse, or else one it makes in the configuration home. Where neither variable
// is set and that folder could not be made at the first try (a home that cannot be written), no
// server of the user's can be there, and the library would say so on the terminal at every try:
// later tries ask for the system-wide server alone, the rest of its lookup.
bool UserServerOutOfReach() {
    for (const char* name :
         {"PULSE_SERVER", "PULSE_RUNTIME_PATH", "XDG_RUNTIME_DIR", "PULSE_CLIENTCONFIG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return false;
    }
    std::string folder;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        folder = std::string(config) + "/pulse";
    else if (const char* home = std::getenv("HOME"); home && *home)
        folder = std::string(home) + "/.config/pulse";
    else
        return false;
    struct stat info {};
    return stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode);
}

pa_sample_spec StreamFormat() {
    pa_sample_spec sample{};
    sample.format = PA_SAMPLE_FLOAT32NE;
    sample.rate = PulseOutput::kRate;
    sample.channels = PulseOutput::kChannels;
    return sample;
}

// An eventfd's counter: adding one wakes its reader; a full counter already does.
void Signal(int fd) noexcept {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(fd, &one, sizeof one);
}

bool Drain(int fd) noexcept {
    std::uint64_t count = 0;
    return fd >= 0 && read(fd, &count, sizeof count) == static_cast<ssize_t>(sizeof count);
}

constexpr std::uint32_t kUnknownVolume = 0xFFFFFFFFu;  // no server volume is that

std::array<std::uint32_t, 2> MixerValues(std::uint32_t volume) {
    return {ToMixer(static_cast<std::uint16_t>(volume & 0xFFFFu)),
            ToMixer(static_cast<std::uint16_t>(volume >> 16))};
}

}  // namespace

PulseOutput::PulseOutput(player::PlayerEngine& engine)
    : engine_(engine), layout_(tuning::kPipeWirePulse) {}

// The client thread, woken by a request: no lock of ours, no allocation of ours, no logging.
struct PulseOutput::WakeEvent {
    static void Ready(pa_mainloop_api*, pa_io_event*, int fd, pa_io_event_flags_t, void* self) {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t n = read(fd, &count, sizeof count);
        static_cast<PulseOutput*>(self)->WriteOver();
    }
};

// The client thread: the program's volume to set, and the server's news of the stream.
struct PulseOutput::VolumeEvents {
    static void Ready(pa_mainloop_api*, pa_io_event*, int fd, pa_io_event_flags_t, void* self) {
        Drain(fd);
        static_cast<PulseOutput*>(self)->ApplyVolume();
    }

    static void ServerEvent(pa_context* context, pa_subscription_event_type_t type,
                            std::uint32_t index, void* self) {
        auto* out = static_cast<PulseOutput*>(self);
        if (context == out->context_ && out->stream_ && index == out->streamIndex_ &&
            (type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK) == PA_SUBSCRIPTION_EVENT_SINK_INPUT &&
            (type & PA_SUBSCRIPTION_EVENT_TYPE_MASK) == PA_SUBSCRIPTION_EVENT_CHANGE)
            out->AskStreamVolume();
    }

    static void StreamVolume(pa_context* context, const pa_sink_input_info* info, int last,
                             void* self) {
        auto* out = static_cast<PulseOutput*>(self);
        if (last || !info || context != out->context_ || info->index != out->streamIndex_)
            return;
        if (!out->streamVolumeSeen_) {
            out->streamVolumeSeen_ = true;
            out->serverVolume_.store(info->has_volume && info->volume_writable);
            if (out->ServerVolume() && !out->volumeSet_.load()) {
                // The volume the server restored for the program is the start; a slider shown
                // before it came follows it.
                if (out->Adopt(info))
                    out->NoticeVolume();
                out->engine_.SetVolume(0xFFFFFFFFu);
            } else if (out->ServerVolume()) {
                out->engine_.SetVolume(0xFFFFFFFFu);
                out->ApplyVolume();  // a stream of a server that came back gets the slider's
            } else {
                out->ApplyVolume();
            }
            out->volumeKnown_.store(true);
            return;
        }
        // While a setting of ours is unanswered, a later report follows it.
        if (!out->ServerVolume() || out->volumeSets_ > 0)
            return;
        if (out->Adopt(info))
            out->NoticeVolume();
    }

    static void VolumeSet(pa_context* context, int success, void* self) {
        auto* out = static_cast<PulseOutput*>(self);
        if (context != out->context_)
            return;
        out->volumeSets_ = std::max(0, out->volumeSets_ - 1);
        if (!success && out->ServerVolume()) {
            // Refused: the samples are scaled as the stream plays them.
            out->serverVolume_.store(false);
            out->engine_.SetVolume(out->Volume());
        }
    }
};

PulseOutput::~PulseOutput() {
    Close();
}

void PulseOutput::SetVolume(std::uint32_t volume) {
    // Before the server has told the volume it restored for the stream, a setting that changes
    // nothing (the slider's first paint of the volume it read while waiting) is not the user's
    // choice: the restored volume, when it comes, stays and moves the slider.
    if (!volumeKnown_.load() && volume == Volume())
        return;
    volume_.store(volume);
    volumeSet_.store(true);
    if (volumeFd_ >= 0)
        Signal(volumeFd_);
    else
        engine_.SetVolume(volume);
}

bool PulseOutput::TakeVolumeNotice() {
    return Drain(noticeFd_);
}

void PulseOutput::NoticeVolume() noexcept {
    if (noticeFd_ >= 0)
        Signal(noticeFd_);
}

void PulseOutput::AskStreamVolume() {
    if (pa_operation* op = pa_context_get_sink_input_info(context_, streamIndex_,
                                                          &VolumeEvents::StreamVolume, this))
        pa_operation_unref(op);
    else
        volumeKnown_.store(true);  // nothing to wait for at the start
}

bool PulseOutput::Adopt(const pa_sink_input_info* info) {
    const pa_cvolume& v = info->volume;
    std::array<std::uint32_t, 2> values{};
    if (v.channels >= 2) {
        values = {pa_cvolume_get_position(&v, &info->channel_map, PA_CHANNEL_POSITION_FRONT_LEFT),
                  pa_cvolume_get_position(&v, &info->channel_map, PA_CHANNEL_POSITION_FRONT_RIGHT)};
    } else if (v.channels == 1) {
        values = {v.values[0], v.values[0]};
    }
    // A server may store the value in its own terms and give back one a step apart.
    const auto near = [](std::uint32_t a, std::uint32_t b) { return (a > b ? a - b : b - a) <= 2; };
    if (near(values[0], serverValues_[0]) && near(values[1], serverValues_[1]))
        return false;
    serverValues_ = values;
    volume_.store(std::uint32_t{FromMixer(values[0])} |
                  (std::uint32_t{FromMixer(values[1])} << 16));
    return true;
}

void PulseOutput::ApplyVolume() {
    const std::uint32_t volume = Volume();
    if (!stream_ || !Playing() || !ServerVolume()) {
        engine_.SetVolume(volume);
        return;
    }
    const std::array<std::uint32_t, 2> values = MixerValues(volume);
    if (values == serverValues_)
        return;
    pa_cvolume cv;
    pa_cvolume_init(&cv);
    cv.channels = 2;
    cv.values[0] = values[0];
    cv.values[1] = values[1];
    pa_operation* op = pa_context_set_sink_input_volume(context_, streamIndex_, &cv,
                                                        &VolumeEvents::VolumeSet, this);
    if (!op) {
        serverVolume_.store(false);
        engine_.SetVolume(volume);
        return;
    }
    pa_operation_unref(op);
    ++volumeSets_;
    serverValues_ = values;
}

bool PulseOutput::Start(int waitMs) {
    if (loop_)
        return Playing();
    loop_ = pa_threaded_mainloop_new();
    if (!loop_)
        return false;
    pa_threaded_mainloop_set_name(loop_, "sound-server");
    pa_threaded_mainloop_lock(loop_);
    if (pa_threaded_mainloop_start(loop_) < 0) {
        pa_threaded_mainloop_unlock(loop_);
        pa_threaded_mainloop_free(loop_);
        loop_ = nullptr;
        return false;
    }
    // Without the eventfd a start waits for the next buffer that the server asks for.
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd_ >= 0) {
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
        wakeEvent_ = api->io_new(api, wakeFd_, PA_IO_EVENT_INPUT, &WakeEvent::Ready, this);
        if (wakeEvent_)
            engine_.SetWaker(this);
    }
    // Without them the samples are scaled, and the mixer's changes go unheard.
    noticeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    const int volumeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (volumeFd >= 0) {
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
        volumeEvent_ = api->io_new(api, volumeFd, PA_IO_EVENT_INPUT, &VolumeEvents::Ready, this);
        if (volumeEvent_)
            volumeFd_ = volumeFd;
        else
            close(volumeFd);
    }
    Connect();
    // Wait for the first stream to play with its volume, or for the first try to fail.
    const std::int64_t until = MonotonicNowNs() + std::int64_t{waitMs} * 1'000'000;
    while (!(Playing() && volumeKnown_.load()) && !retry_ && MonotonicNowNs() < until) {
        pa_threaded_mainloop_unlock(loop_);
        timespec pause{0, 2'000'000};
        nanosleep(&pause, nullptr);
        pa_threaded_mainloop_lock(loop_);
    }
    pa_threaded_mainloop_unlock(loop_);
    return Playing();
}

void PulseOutput::Close() {
    if (!loop_)
        return;
    engine_.SetWaker(nullptr);
    pa_threaded_mainloop_stop(loop_);  // joins the client thread
    Drop();
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
    if (retry_) {
        api->time_free(retry_);
        retry_ = nullptr;
    }
    if (wakeEvent_) {
        api->io_free(wakeEvent_);
        wakeEvent_ = nullptr;
    }
    if (wakeFd_ >= 0) {
        close(wakeFd_);
        wakeFd_ = -1;
    }
    if (volumeEvent_) {
        api->io_free(volumeEvent_);
        volumeEvent_ = nullptr;
    }
    for (int* fd : {&volumeFd_, &noticeFd_}) {
        if (*fd >= 0)
            close(*fd);
        *fd = -1;
    }
    pa_threaded_mainloop_free(loop_);
    loop_ = nullptr;
}

void PulseOutput::Connect() {
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
    // The library adds the process's binary, its id and the user's name.
    pa_proplist* who = pa_proplist_new();
    pa_proplist_sets(who, PA_PROP_APPLICATION_NAME, StreamIdentity::kName);
    pa_proplist_sets(who, PA_PROP_APPLICATION_ID, StreamIdentity::kId);
    pa_proplist_sets(who, PA_PROP_APPLICATION_ICON_NAME, StreamIdentity::kIcon);
    context_ = pa_context_new_with_proplist(api, StreamIdentity::kName, who);
    pa_proplist_free(who);
    if (!context_) {
        RetryLater();
        return;
    }
    pa_context_set_state_callback(context_, &OnContextState, this);
    // The first try looks where the library looks; it tells whether later ones can.
    const char* server = nullptr;
    if (tries_++ == 1)
        quietLookup_ = UserServerOutOfReach();
    if (quietLookup_)
        server = kSystemServer;
    // Never start a server of our own: without one the program runs silently.
    if (pa_context_connect(context_, server, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        Drop();
        RetryLater();
    }
}

void PulseOutput::OpenStream() {
    const pa_sample_spec sample = StreamFormat();
    pa_channel_map map;
    pa_channel_map_init_stereo(&map);
    pa_proplist* what = pa_proplist_new();
    pa_proplist_sets(what, PA_PROP_MEDIA_ROLE, StreamIdentity::kRole);
    pa_proplist_sets(what, PA_PROP_APPLICATION_ICON_NAME, StreamIdentity::kIcon);
    // PulseAudio keeps a stream's volume per role where it has one, shared by every program of
    // that role: this keeps the program's own. (WirePlumber keeps it per role all the same.)
    const std::string restoreId =
        std::string("sink-input-by-application-id:") + StreamIdentity::kId;
    pa_proplist_sets(what, "module-stream-restore.id", restoreId.c_str());
    stream_ =
        pa_stream_new_with_proplist(context_, StreamIdentity::kStreamName, &sample, &map, what);
    pa_proplist_free(what);
    if (!stream_) {
        pa_context_disconnect(context_);
        return;
    }
    pa_stream_set_state_callback(stream_, &OnStreamState, this);
    pa_stream_set_write_callback(stream_, &OnWrite, this);
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = static_cast<std::uint32_t>(pa_usec_to_bytes(layout_.queueUs, &sample));
    // No prebuffering: the stream plays from the start and never stops to fill up again. When we
    // are late the server plays silence and drops what comes too late, so the frames keep the
    // sink's time and the clicks after it stay on their grid.
    attr.prebuf = 0;
    attr.minreq = static_cast<std::uint32_t>(pa_usec_to_bytes(layout_.requestUs, &sample));
    attr.fragsize = static_cast<std::uint32_t>(-1);
    const auto flags = static_cast<pa_stream_flags_t>(
        PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_ADJUST_LATENCY);
    if (pa_stream_connect_playback(stream_, nullptr, &attr, flags, nullptr, nullptr) < 0)
        pa_context_disconnect(context_);
}

void PulseOutput::Drop() {
    if (stream_) {
        pa_stream_set_state_callback(stream_, nullptr, nullptr);
        pa_stream_set_write_callback(stream_, nullptr, nullptr);
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
        stream_ = nullptr;
        updating_ = false;
        skipFrames_ = 0;
    }
    streamIndex_ = PA_INVALID_INDEX;
    streamVolumeSeen_ = false;
    volumeSets_ = 0;
    serverValues_ = {kUnknownVolume, kUnknownVolume};
    if (context_) {
        pa_context_set_subscribe_callback(context_, nullptr, nullptr);
        pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
        context_ = nullptr;
    }
    if (playing_.exchange(false))
        engine_.StreamLost();
}

void PulseOutput::RetryLater() {
    backoffMs_ = backoffMs_ == 0 ? kFirstRetryMs : std::min(backoffMs_ * 2, kLastRetryMs);
    timeval when{};
    pa_gettimeofday(&when);
    pa_timeval_add(&when, static_cast<pa_usec_t>(backoffMs_) * 1000);
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
    if (retry_)
        api->time_restart(retry_, &when);
    else
        retry_ = api->time_new(api, &when, &OnRetry, this);
}

void PulseOutput::OnRetry(pa_mainloop_api* api, pa_time_event* event, const timeval*, void* self) {
    auto* out = static_cast<PulseOutput*>(self);
    api->time_free(event);
    out->retry_ = nullptr;
    out->Connect();
}

void PulseOutput::OnContextState(pa_context* context, void* self) {
    auto* out = static_cast<PulseOutput*>(self);
    switch (pa_context_get_state(context)) {
        case PA_CONTEXT_READY:
            // Only ever reported on the client thread (the early states also come on the thread
            // that connects).
            if (!out->priorityAsked_) {
                // The client thread writes the sound: ahead of ordinary threads where allowed, so
                // that a busy machine does not starve it. Not real-time: the queue leaves it 80 ms
                // or more to answer, and a real-time thread's wake-ups cost ten times as much in a
                // VM (measured). Without the right to it, nothing changes.
                out->priorityAsked_ = true;
                setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kClientNice);
            }
            // The mixer's changes of the stream's volume.
            pa_context_set_subscribe_callback(context, &VolumeEvents::ServerEvent, out);
            if (pa_operation* op = pa_context_subscribe(context, PA_SUBSCRIPTION_MASK_SINK_INPUT,
                                                        nullptr, nullptr))
                pa_operation_unref(op);
            // Which server it is decides the stream's queue.
            if (pa_operation* op = pa_context_get_server_info(context, &OnServerInfo, out))
                pa_operation_unref(op);
            else
                out->OpenStream();
            break;
        case PA_CONTEXT_FAILED:
        case PA_CONTEXT_TERMINATED:
            // The server went away (or never was): start afresh later, never in a loop.
            out->Drop();
            out->RetryLater();
            break;
        default:
            break;
    }
}

void PulseOutput::OnStreamState(pa_stream* stream, void* self) {
    auto* out = static_cast<PulseOutput*>(self);
    switch (pa_stream_get_state(stream)) {
        case PA_STREAM_READY:
            out->backoffMs_ = 0;
            if (out->everPlayed_)
                out->reconnects_.fetch_add(1, std::memory_order_relaxed);
            out->everPlayed_ = true;
            out->playing_.store(true, std::memory_order_relaxed);
            out->streamIndex_ = pa_stream_get_index(stream);
            out->AskStreamVolume();
            break;
        case PA_STREAM_FAILED:
        case PA_STREAM_TERMINATED:
            // The sink went and the stream could not move: a new connection finds the new one.
            if (out->context_)
                pa_context_disconnect(out->context_);
            break;
        default:
            break;
    }
}

void PulseOutput::OnServerInfo(pa_context* context, const pa_server_info* info, void* self) {
    auto* out = static_cast<PulseOutput*>(self);
    if (context != out->context_ || out->stream_)
        return;
    // The server names itself "PulseAudio (on PipeWire ...)" when it is pipewire-pulse; an
    // unknown one gets the layout that is safe on both.
    const bool pulseAudio =
        info && info->server_name && !std::strstr(info->server_name, "PipeWire");
    out->layout_ = pulseAudio ? tuning::kPulseAudio : tuning::kPipeWirePulse;
    out->OpenStream();
}

void PulseOutput::Wake() noexcept {
    Signal(wakeFd_);
}

bool PulseOutput::Report(pa_stream* stream, player::StreamReport& report) const noexcept {
    report.nowNs = MonotonicNowNs();
    const std::int64_t written = engine_.FramesRendered() - skipFrames_;
    pa_usec_t latency = 0;
    int negative = 0;
    const pa_timing_info* timing = pa_stream_get_timing_info(stream);
    if (pa_stream_get_latency(stream, &latency, &negative) != 0 || !timing) {
        report.heardFrame = written;  // nothing is heard before the first report
        report.advancing = false;
        return false;
    }
    // The latency is the time until the last frame written is heard (negative after an
    // underrun: the server has played beyond it).
    const auto frames = static_cast<std::int64_t>(latency * kRate / 1'000'000);
    report.heardFrame = written - (negative ? -frames : frames);
    report.advancing =
        timing->playing && !pa_stream_is_suspended(stream) && !pa_stream_is_corked(stream);
    // What the sink holds has been taken from the queue: only what follows can be written over.
    // PulseAudio's sink takes up to its configured latency at a time, so what it holds may grow by
    // that before a write over arrives; the guard alone would lose the start of a click.
    pa_usec_t sinkUs = timing->sink_usec;
    if (!layout_.flush)
        sinkUs = std::max(sinkUs, timing->configured_sink_usec);
    report.rewritableFrom =
        static_cast<std::int64_t>(sinkUs * kRate / 1'000'000) + FramesOf(layout_.guardUs);
    return true;
}

void PulseOutput::WriteOver() noexcept {
    if (!stream_ || !Playing() || updating_)
        return;
    // Between the server's updates the report is interpolated: where the queue is written over
    // (or dropped) is taken from a fresh one.
    pa_operation* op = pa_stream_update_timing_info(stream_, &OnFreshTiming, this);
    if (!op) {
        WriteOverNow(0);
        return;
    }
    updating_ = true;
    updateAskedNs_ = MonotonicNowNs();
    pa_operation_unref(op);
}

void PulseOutput::OnFreshTiming(pa_stream* stream, int, void* self) {
    auto* out = static_cast<PulseOutput*>(self);
    out->updating_ = false;
    // A server that stood still while its sink's buffer ran down fills that buffer at once when
    // it goes on, and may do so after it made this report: as much as it stood still, at most.
    const std::int64_t stalledNs = MonotonicNowNs() - out->updateAskedNs_ -
                                   static_cast<std::int64_t>(out->layout_.guardUs) * 1000;
    if (stream == out->stream_)
        out->WriteOverNow(stalledNs > 0 ? stalledNs * kRate / 1'000'000'000 : 0);
}

void PulseOutput::WriteOverNow(std::int64_t stalledFrames) noexcept {
    if (!stream_ || !Playing())
        return;
    player::StreamReport report;
    if (!Report(stream_, report))
        return;
    CatchUp(report, 0);
    if (layout_.flush) {
        // Our count goes on from the frame where the engine steps back to: after the drop, the
        // server's next frame is that one less the silence.
        const std::int64_t sink = report.rewritableFrom - FramesOf(layout_.guardUs);
        const std::uint32_t frames = engine_.PrepareRewrite(report.heardFrame + sink);
        if (frames > 0) {
            if (pa_operation* op = pa_stream_flush(stream_, nullptr, nullptr))
                pa_operation_unref(op);
            skipFrames_ = 0;  // the drop sets the write position anew
            pa_stream_write(stream_, kSilence.data(),
                            static_cast<std::size_t>(FramesOf(layout_.guardUs)) * kFrameBytes,
                            nullptr, 0, PA_SEEK_RELATIVE);
            Write(stream_, std::size_t{frames} * kFrameBytes, report, 0);
            return;
        }
    } else if (const std::uint32_t frames = engine_.PrepareRewrite(
                   report.heardFrame + report.rewritableFrom + stalledFrames);
               frames > 0) {
        Write(stream_, std::size_t{frames} * kFrameBytes, report,
              -static_cast<std::int64_t>(frames * kFrameBytes));
        return;
    }
    // Nothing written yet where the request goes: write it now rather than at the next request.
    const std::size_t writable = pa_stream_writable_size(stream_);
    if (writable != static_cast<std::size_t>(-1) && writable >= kFrameBytes)
        Write(stream_, writable, report, 0);
}

// The audio callback: no lock of ours, no allocation of ours, no I/O, no logging.
void PulseOutput::OnWrite(pa_stream* stream, std::size_t bytes, void* self) noexcept {
    auto* out = static_cast<PulseOutput*>(self);
    player::StreamReport report;
    out->Report(stream, report);
    // Asked for more than the queue holds: the server played that much beyond what we wrote.
    std::int64_t beyond = 0;
    if (const pa_buffer_attr* attr = pa_stream_get_buffer_attr(stream);
        attr && bytes > attr->tlength)
        beyond = static_cast<std::int64_t>((bytes - attr->tlength) / kFrameBytes);
    if (out->CatchUp(report, beyond)) {
        bytes -= static_cast<std::size_t>(beyond) * kFrameBytes;
        // The report came before the server caught up: a fresh one follows, and until then
        // the stream's count stands, so that no tick is placed by it.
        report.advancing = false;
        out->WriteOver();
    }
    out->Write(stream, bytes, report, 0);
}

bool PulseOutput::CatchUp(player::StreamReport& report, std::int64_t beyond) noexcept {
    // The written frames the server has: ours less what the write position has yet to step over.
    const std::int64_t written = engine_.FramesRendered() - skipFrames_;
    beyond = std::max(beyond, report.heardFrame - written);
    if (beyond <= 0)
        return false;
    // Writing starts where a write can still reach, as for a request at any time: what the sink
    // holds, and the time to reach the server. Until then the server plays silence.
    const std::int64_t reach = std::max<std::int64_t>(0, report.rewritableFrom);
    const std::int64_t heard = engine_.FramesRendered() + beyond;
    skipFrames_ += engine_.CatchUp(heard + reach);
    report.heardFrame = heard;
    return true;
}

void PulseOutput::Write(pa_stream* stream, std::size_t bytes, const player::StreamReport& report,
                        std::int64_t seekBytes) noexcept {
    while (bytes >= kFrameBytes) {
        void* data = nullptr;
        std::size_t n = bytes;
        if (pa_stream_begin_write(stream, &data, &n) < 0 || !data)
            return;
        n -= n % kFrameBytes;
        if (n == 0) {
            pa_stream_cancel_write(stream);
            return;
        }
        engine_.Render(static_cast<float*>(data), static_cast<std::uint32_t>(n / kFrameBytes),
                       report);
        // The first piece steps back over what is written over, or on over what was lost; the
        // rest follows it.
        seekBytes += skipFrames_ * static_cast<std::int64_t>(kFrameBytes);
        skipFrames_ = 0;
        pa_stream_write(stream, data, n, nullptr, seekBytes, PA_SEEK_RELATIVE);
        seekBytes = 0;
        bytes -= n;
    }
}

}  // namespace platform::linux_backend
