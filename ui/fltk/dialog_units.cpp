// Dialog unit conversion without any toolkit: pure arithmetic on measured base units.
#include "ui/fltk/dialog_units.h"

#include <cmath>

namespace ui::fltk {

BaseUnits BaseUnitsFromMeasure(double lettersWidth, int fontHeight) {
    // Windows rounds (width + 26) / 52 with integer division.
    const int width = static_cast<int>(std::lround(lettersWidth));
    return BaseUnits{(width + 26) / 52, fontHeight};
}

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    const long long product = static_cast<long long>(a) * b;
    const long long half = (c > 0 ? c : -c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const long long magnitude = ((product < 0 ? -product : product) + half) / (c > 0 ? c : -c);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

int DluToPixelX(int dlu, BaseUnits units) {
    return MulDiv(dlu, units.x, 4);
}

int DluToPixelY(int dlu, BaseUnits units) {
    return MulDiv(dlu, units.y, 8);
}

PixelRect DluToPixels(int x, int y, int cx, int cy, BaseUnits units) {
    const int left = DluToPixelX(x, units);
    const int top = DluToPixelY(y, units);
    const int right = DluToPixelX(x + cx, units);
    const int bottom = DluToPixelY(y + cy, units);
    return PixelRect{left, top, right - left, bottom - top};
}

PixelRect ControlRect(const ControlTemplate& t, BaseUnits units) {
    return DluToPixels(t.x, t.y, t.cx, t.cy, units);
}

PixelRect ClientSize(const DialogTemplate& t, BaseUnits units) {
    return PixelRect{0, 0, DluToPixelX(t.cx, units), DluToPixelY(t.cy, units)};
}

int PointsToPixels(int points) {
    return MulDiv(points, 96, 72);
}

}  // namespace ui::fltk
