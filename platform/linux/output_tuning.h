// The Linux sound output's tuning figures, each in this one place: the comments and the docs give
// the rules, and point here for the numbers. A measured figure names the command that measures
// it again; a relation between figures is a static_assert, not a comment.
#pragma once

#include <cstdint>

namespace platform::linux_backend::tuning {

// The stream's queue on one kind of server, and what a write over it leaves alone.
struct Layout {
    std::uint64_t queueUs;    // what the server keeps queued for us
    std::uint64_t requestUs;  // the least it asks for at a time
    bool flush;               // drop the queue rather than write over it
    std::uint64_t guardUs;    // beyond what the sink holds: left alone, or silence first
};

// Both servers give a stream that asks for adjusted latency this much: PulseAudio as its sink's
// latency, pipewire-pulse as its graph's period.
constexpr std::uint64_t SinkLatencyUs(const Layout& layout) {
    return (layout.queueUs - 2 * layout.requestUs) / 2;
}

// PulseAudio takes from the queue only what it plays and rewinds its sink when it must, so the
// queue can be long and wake us seldom. Asking for no sink latency put the sink at its 0.5 ms
// floor, waking the server 2000 times a second. CPU: bench/program-cpu; start and intervals:
// bench/server-timing.
inline constexpr Layout kPulseAudio{170'000, 75'000, false, 5'000};
static_assert(SinkLatencyUs(kPulseAudio) == 10'000, "a sink latency of 10 ms, not its floor");

// pipewire-pulse takes whole periods of its graph ahead of the frame it reports as heard, which
// cannot be written over: a start drops the queue. Its main thread, which takes our writes in,
// stood still for up to 200 ms while other clients set up their streams, and a period that then
// finds the queue short is lost whole (docs/pipewire-lost-periods.md). Lost periods:
// bench/server-churn; start and CPU: bench/server-timing, bench/program-cpu.
inline constexpr Layout kPipeWirePulse{400'000, 180'000, true, 10'000};
static_assert(SinkLatencyUs(kPipeWirePulse) == 20'000, "a 20 ms period bounds the start");
static_assert(kPipeWirePulse.queueUs - SinkLatencyUs(kPipeWirePulse) - kPipeWirePulse.requestUs >=
                  200'000,
              "the queue outlasts the server's main thread standing still");

// The timer looks again at a paced deadline this often: the stream's reports may move it, and
// each look is a wake-up, which a virtual machine makes dear. CPU: bench/program-cpu.
inline constexpr std::int64_t kRecheckNs = 150'000'000;
// A tick found late by a look can still be written over what is queued before the sink plays it.
static_assert(kRecheckNs / 1000 < kPulseAudio.queueUs - SinkLatencyUs(kPulseAudio));
static_assert(kRecheckNs / 1000 < kPipeWirePulse.queueUs - SinkLatencyUs(kPipeWirePulse));

}  // namespace platform::linux_backend::tuning
