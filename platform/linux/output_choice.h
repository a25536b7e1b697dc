// Which client library plays the sound: libpulse (PulseAudio, or PipeWire through pipewire-pulse)
// or PipeWire's own. The environment may force one, for tests and benchmarks.
#pragma once

#include <string_view>

namespace platform::linux_backend {

enum class OutputKind { kPulse, kPipeWire };

// The variable that forces the output: "pulse" or "pipewire"; anything else is not a choice.
inline constexpr const char* kOutputVariable = "METRONOME_SOUND_OUTPUT";

// Without the variable: libpulse, which serves both servers. PipeWire's own client still loses
// frames to the graph's changes of pace (docs/pipewire-lost-periods.md).
inline constexpr OutputKind kAutomaticOutput = OutputKind::kPulse;

// `forced` is the variable's value (null when unset); `automatic` is the choice without it.
constexpr OutputKind ChooseOutput(const char* forced, OutputKind automatic) {
    if (forced) {
        const std::string_view value(forced);
        if (value == "pulse")
            return OutputKind::kPulse;
        if (value == "pipewire")
            return OutputKind::kPipeWire;
    }
    return automatic;
}

}  // namespace platform::linux_backend
