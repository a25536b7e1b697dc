// The byte counts of the in-memory sound images, so that a player handed only a pointer (as
// PlaySoundA is) never reads past what was loaded.
#pragma once

#include <cstddef>

namespace platform {

// Registration happens on the GUI thread before any timer runs; lookups may come from any thread.
// Registering an image again updates its count; at most kMaxSoundImages are known at once.
inline constexpr std::size_t kMaxSoundImages = 32;
bool RegisterSoundImage(const void* image, std::size_t bytes);
void UnregisterSoundImage(const void* image);
// 0 when the image is unknown.
std::size_t SoundImageSize(const void* image);

}  // namespace platform
