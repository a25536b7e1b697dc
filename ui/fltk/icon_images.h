// Icon resources as FLTK RGBA images, made once per resource and size and kept for the run.
#pragma once

#include <vector>

#include "ui/dialog_template.h"

class Fl_RGB_Image;

namespace ui::fltk {

// The picture of `size` pixels, or the nearest larger one; null when the icon has none.
Fl_RGB_Image* IconPicture(const IconResource& icon, int size);
// Draws `picture` `size` pixels square, resampled when it has another size.
void DrawIcon(Fl_RGB_Image& picture, int x, int y, int size);
// Every picture of the icon, for the window manager.
std::vector<const Fl_RGB_Image*> IconPictures(const IconResource& icon);

}  // namespace ui::fltk
