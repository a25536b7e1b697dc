// A dialog template as the bytes of an extended in-memory template (DLGTEMPLATEEX), the form that
// CreateDialogIndirectParamW reads: the same data as every other backend's dialogs.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/dialog_template.h"

namespace ui::win32 {

// The window is created hidden (shown when its modal run starts). Radio buttons and check boxes
// are made owner-managed, so that only the framework changes their state; combo boxes lose
// CBS_SORT, since the framework orders their rows and the native rows mirror them by index.
std::vector<std::uint8_t> DialogTemplateBytes(const DialogTemplate& t);

// The style a control is created with, as DialogTemplateBytes writes it.
DWORD NativeControlStyle(const ControlTemplate& c);

}  // namespace ui::win32
