// The dialog's own system menu, since the window manager's cannot carry our items: a pop-up with
// the items of DialogWindow::SystemMenu(), access keys working.
#pragma once

#include <vector>

#include "ui/fltk/dialog_font.h"
#include "ui/window.h"

namespace ui::fltk {

// Pops the menu up at (x, y) of the window that got the last event; returns the chosen command,
// or 0 when the menu was dismissed. Grayed items (MF_GRAYED) are shown but cannot be chosen.
UINT ChooseFromSystemMenu(const std::vector<MenuItem>& items, int x, int y, const DialogFont& font);

// "Alt+F4" and the like, as an FLTK shortcut to show beside an item; 0 when not understood.
int ShortcutFromText(const std::string& text);

}  // namespace ui::fltk
