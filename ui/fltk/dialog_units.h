// Dialog units to pixels: base units measured from the dialog's font, as Windows defines them,
// and rectangles converted edge by edge so that controls that touch in dialog units touch on
// the screen.
#pragma once

#include "ui/dialog_template.h"

namespace ui::fltk {

struct BaseUnits {
    int x;  // average width of "A-Za-z", rounded
    int y;  // font height
};

// Windows' base units from the width of the 52 letters "A-Za-z" and the font height.
BaseUnits BaseUnitsFromMeasure(double lettersWidth, int fontHeight);

// Rounded a * b / c, halves away from zero, as MulDiv does.
int MulDiv(int a, int b, int c);

struct PixelRect {
    int x, y, w, h;
};

// Horizontal and vertical positions in pixels.
int DluToPixelX(int dlu, BaseUnits units);
int DluToPixelY(int dlu, BaseUnits units);
PixelRect DluToPixels(int x, int y, int cx, int cy, BaseUnits units);
PixelRect ControlRect(const ControlTemplate& t, BaseUnits units);
// The dialog's client area.
PixelRect ClientSize(const DialogTemplate& t, BaseUnits units);

// The pixel height a point size gets at `dpi` (Windows' lfHeight, without the sign).
int PointsToPixels(int points, int dpi = 96);

// A length of the 96 dpi design at `dpi`; base units grown the same way, so that a dialog keeps
// its proportions and its texts keep the room they have at 96 dpi.
int ScaleToDpi(int pixels, int dpi);
BaseUnits ScaleToDpi(BaseUnits units, int dpi);

// The desktop's resolution as the desktop states it: "Xft.dpi" in the X resources (the text of
// the RESOURCE_MANAGER property, may be null); without it the scale that GDK_SCALE or
// QT_SCALE_FACTOR name (may be null) times 96; else 96. Implausible values are passed over.
int DesktopDpiFrom(const char* xResources, const char* gdkScale, const char* qtScaleFactor);

}  // namespace ui::fltk
