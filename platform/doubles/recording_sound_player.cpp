// Records PlaySoundA requests in the shared call log.
#include "platform/doubles/recording_sound_player.h"

#include <cstdio>

namespace platform::doubles {

BOOL RecordingSoundPlayer::Play(const char* image, DWORD flags) noexcept {
    std::string name;
    if (!image) {
        name = "NULL";
    } else if (namer_) {
        name = namer_(image);
    } else {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%p", static_cast<const void*>(image));
        name = buffer;
    }
    requests_.push_back({clock_.Now(), image, flags, name});
    log_.Add(clock_.Now(), "PlaySoundA(" + name + "," + std::to_string(flags) + ")");
    return TRUE;
}

}  // namespace platform::doubles
