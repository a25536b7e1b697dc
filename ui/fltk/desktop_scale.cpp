// The desktop's resolution from the RESOURCE_MANAGER property of the root window (which desktops
// fill with their "Xft.dpi") and from GDK_SCALE or QT_SCALE_FACTOR.
#include "ui/fltk/desktop_scale.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <algorithm>
#include <cstdlib>

#include "ui/fltk/dialog_units.h"

namespace ui::fltk {

int DesktopDpi() {
    static const int dpi = [] {
        fl_open_display();
        const char* resources = fl_display ? XResourceManagerString(fl_display) : nullptr;
        return DesktopDpiFrom(resources, std::getenv("GDK_SCALE"), std::getenv("QT_SCALE_FACTOR"));
    }();
    return dpi;
}

int Scaled(int pixels) {
    const int scaled = ScaleToDpi(pixels, DesktopDpi());
    return pixels > 0 ? std::max(scaled, 1) : scaled;
}

}  // namespace ui::fltk
