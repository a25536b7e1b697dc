// The program's resources: dialog templates, strings, the icon, and the texts of our own.
#pragma once

#include "ui/dialog_template.h"

namespace res {

// Installs the resources into the dialog framework (once, before the application starts).
const ui::ResourceTable& Table();

const ui::DialogTemplate& AboutBoxTemplate();
const ui::DialogTemplate& MainDialogTemplate();
const ui::DialogTemplate& SavePresetTemplate();

// The line under the help hint's first line, and the page the About box's link opens.
inline constexpr char16_t kHintSecondLine[] =
    u"Questions and suggestions are welcome through the Vorla web site.";
inline constexpr char16_t kMakerWebAddress[] = u"https://vorla.example/";

}  // namespace res
