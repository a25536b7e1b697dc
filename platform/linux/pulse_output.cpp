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

PulseOutput::~PulseOutput() {
    Close();
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
    Connect();
    // Wait for the first stream to play, or for the first try to fail.
    const std::int64_t until = MonotonicNowNs() + std::int64_t{waitMs} * 1'000'000;
    while (!Playing() && !retry_ && MonotonicNowNs() < until) {
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
    pa_threaded_mainloop_free(loop_);
    loop_ = nullptr;
}

void PulseOutput::Connect() {
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
    context_ = pa_context_new(api, "Metronome");
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
    stream_ = pa_stream_new(context_, "Metronome", &sample, &map);
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
    if (context_) {
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
    const std::uint64_t one = 1;
    // A full counter already wakes the thread: nothing to do when the write fails.
    [[maybe_unused]] const ssize_t n = write(wakeFd_, &one, sizeof one);
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
        WriteOverNow();
        return;
    }
    updating_ = true;
    pa_operation_unref(op);
}

void PulseOutput::OnFreshTiming(pa_stream* stream, int, void* self) {
    auto* out = static_cast<PulseOutput*>(self);
    out->updating_ = false;
    if (stream == out->stream_)
        out->WriteOverNow();
}

void PulseOutput::WriteOverNow() noexcept {
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
    } else if (const std::uint32_t frames =
                   engine_.PrepareRewrite(report.heardFrame + report.rewritableFrom);
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
