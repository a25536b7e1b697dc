// Texts of the model as the screen shows them: access-key ampersands resolved, line breaks as the
// toolkit wants them, UTF-16 to UTF-8 and back.
#pragma once

#include <string>

#include "ui/cstring.h"

namespace ui::fltk {

struct Caption {
    std::string text;      // UTF-8, "&&" shown as "&", the access-key "&" dropped
    int accessIndex = -1;  // byte offset of the access-key character in `text`, -1 for none
};

// With `prefix` false (SS_NOPREFIX) every "&" is shown as it is.
Caption ShownCaption(const CString& caption, bool prefix = true);

// The access key of a caption, lower case ASCII, 0 for none.
char AccessKey(const CString& caption);

// Edit texts: the model keeps "\r\n" line breaks, the screen "\n".
std::string EditTextForScreen(const CString& text);
CString EditTextFromScreen(const std::string& text);

}  // namespace ui::fltk
