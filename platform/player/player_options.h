// How the sound player places requests and how far ahead it keeps them, set once at its start.
#pragma once

#include <cmath>
#include <cstdint>

namespace platform::player {

enum class Placement {
    kSampleAccurate,  // on the run's frame grid
    kAtWakeUp,        // at the start of the next buffer, as a plain player would
};

struct PlayerOptions {
    std::uint32_t sampleRate = 48000;
    unsigned channels = 2;
    double safetyMs = 3;     // beyond the written frames, for a request from the GUI thread
    double tickLeadMs = 25;  // more for a tick, so that a late wake-up still comes in time
    Placement placement = Placement::kSampleAccurate;

    std::int64_t SafetyFrames() const { return Frames(safetyMs); }
    std::int64_t LeadFrames() const { return Frames(tickLeadMs); }

  private:
    std::int64_t Frames(double ms) const { return std::llround(ms * 1e-3 * sampleRate); }
};

}  // namespace platform::player
