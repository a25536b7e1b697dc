// Writes an icon file (.ico) from ARGB pictures: each size at 16 colours, 256 colours and 24-bit,
// with a 1-bit transparency mask, as the Windows resource compiler takes them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "ui/dialog_template.h"

namespace res::windows {

// The colour depths written for every size, in the order of the file's directory.
inline constexpr int kIconDepths[] = {4, 8, 24};

std::vector<std::uint8_t> IconFile(std::span<const ui::IconImage> images);

// The palette of a 4- or 8-bit image, as 0x00RRGGBB, and the nearest entry to a colour.
const std::vector<std::uint32_t>& Palette(int bitsPerPixel);
int NearestEntry(const std::vector<std::uint32_t>& palette, std::uint32_t rgb);

}  // namespace res::windows
