// A modal message box: caption, icon by type (stop, warning, information), text with its line
// breaks, and an OK button; centred over its owner.
#pragma once

#include "base/cstring.h"
#include "ui/win_defs.h"

class Fl_Window;

namespace ui::fltk {

// Returns IDOK when the box is closed, whichever way.
int RunMessageBox(Fl_Window* owner, const CString& text, const CString& caption, UINT type);
// Closes the innermost box that RunMessageBox shows, as its OK button does; false when none is
// open or `result` is not IDOK.
bool AnswerMessageBox(int result);

}  // namespace ui::fltk
