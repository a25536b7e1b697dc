// Texts of the model as the screen shows them: access-key ampersands resolved, line breaks as the
// toolkit wants them, UTF-16 to UTF-8 and back.
#pragma once

#include <string>

#include "base/cstring.h"

namespace ui::fltk {

// A caption as shown: "&&" as one "&", and the "&" that marks an access key dropped (the
// keyboard reaches controls through the dialog, not through access keys). With `prefix` false
// (SS_NOPREFIX) every "&" is shown as it is. UTF-8.
std::string ShownCaption(const CString& caption, bool prefix = true);

// Edit texts: the model keeps "\r\n" line breaks, the screen "\n".
std::string EditTextForScreen(const CString& text);
CString EditTextFromScreen(const std::string& text);

}  // namespace ui::fltk
