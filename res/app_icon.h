// Icon 128: the application's icon, a metronome pictogram in 16, 32 and 48 pixel squares.
#pragma once

#include "ui/dialog_template.h"

namespace res {

const IconResource& AppIcon();

}  // namespace res
