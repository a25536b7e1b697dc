// Looks a tempo up in the naming table.
#include "tempo/tempo_naming.h"

namespace tempo {

const char16_t* TempoName(std::int32_t bpm) {
    for (const TempoNameRange& range : kTempoNames)
        if (bpm <= range.highestBpm)
            return range.name;
    return kTempoNames.back().name;
}

}  // namespace tempo
