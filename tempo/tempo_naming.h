// The classical tempo names for a tempo in beats per minute, and the highest tempo that can be
// entered freely.
#pragma once

#include <array>
#include <cstdint>

namespace tempo {

inline constexpr std::int32_t kMaxFreeTempoBpm = 300;

struct TempoNameRange {
    std::int32_t highestBpm;  // inclusive; each range begins one above the previous one
    const char16_t* name;
};

// A compound name belongs to exactly one tempo: a border row of the tempo scale.
inline constexpr std::array<TempoNameRange, 15> kTempoNames = {{
    {59, u"Largo"},
    {60, u"Largo/Larghetto"},
    {65, u"Larghetto"},
    {66, u"Larghetto/Adagio"},
    {75, u"Adagio"},
    {76, u"Adagio/Andante"},
    {107, u"Andante"},
    {108, u"Andante/Moderato"},
    {119, u"Moderato"},
    {120, u"Moderato/Allegro"},
    {167, u"Allegro"},
    {168, u"Allegro/Presto"},
    {199, u"Presto"},
    {200, u"Presto/Prestissimo"},
    {kMaxFreeTempoBpm, u"Prestissimo"},
}};

// The name of `bpm`: "Largo" for anything below 60 (0 included), "Prestissimo" above 300.
const char16_t* TempoName(std::int32_t bpm);

}  // namespace tempo
