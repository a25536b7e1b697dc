// Dialog unit conversion without any toolkit: pure arithmetic on measured base units.
#include "ui/fltk/dialog_units.h"

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>

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

int PointsToPixels(int points, int dpi) {
    return MulDiv(points, dpi, 72);
}

namespace {

constexpr int kPlainDpi = 96;

}  // namespace

int ScaleToDpi(int pixels, int dpi) {
    return MulDiv(pixels, dpi, kPlainDpi);
}

BaseUnits ScaleToDpi(BaseUnits units, int dpi) {
    return BaseUnits{ScaleToDpi(units.x, dpi), ScaleToDpi(units.y, dpi)};
}

namespace {

// A resolution from a number of dots per inch or a scale factor; 0 when it makes no sense.
int PlausibleDpi(double dpi) {
    return std::isfinite(dpi) && dpi >= 48 && dpi <= 960 ? static_cast<int>(std::lround(dpi)) : 0;
}

double Number(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    while (end && (*end == ' ' || *end == '\t'))
        ++end;
    return end != begin && end && *end == '\0' ? value : std::nan("");
}

}  // namespace

int DesktopDpiFrom(const char* xResources, const char* gdkScale, const char* qtScaleFactor) {
    if (xResources) {
        // One resource per line: "Xft.dpi:\t192".
        std::istringstream lines(xResources);
        std::string line;
        const std::string name = "Xft.dpi:";
        while (std::getline(lines, line)) {
            if (line.rfind(name, 0) != 0)
                continue;
            std::string value = line.substr(name.size());
            value.erase(0, value.find_first_not_of(" \t"));
            if (const int dpi = PlausibleDpi(Number(value)))
                return dpi;
        }
    }
    for (const char* scale : {gdkScale, qtScaleFactor}) {
        if (scale && *scale)
            if (const int dpi = PlausibleDpi(Number(scale) * kPlainDpi))
                return dpi;
    }
    return kPlainDpi;
}

}  // namespace ui::fltk
