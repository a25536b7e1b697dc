// The desktop's scale: its resolution, read once from the X resources or the environment, and
// pixel sizes of the 96 dpi design (frames, marks, margins, icons) grown to it, so that they grow
// with the fonts and the dialog units. Needs an open display.
#pragma once

namespace ui::fltk {

int DesktopDpi();
// `pixels` at 96 dpi, at the desktop's resolution (never below 1 for a positive size).
int Scaled(int pixels);

}  // namespace ui::fltk
