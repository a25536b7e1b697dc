// The open list of a drop-down combo box: a borderless window below the box, at most as tall as
// the template allows, with a scroll bar when the rows do not fit.
#pragma once

#include <string>
#include <vector>

#include <FL/Fl_Widget.H>

#include "ui/fltk/dialog_font.h"

namespace ui::fltk {

// Shows the rows under `anchor` and returns the row chosen, or -1 when the list was dismissed.
int ChooseFromDropList(Fl_Widget& anchor, const std::vector<std::string>& rows, int current,
                       int maxHeight, const DialogFont& font);

}  // namespace ui::fltk
