// Fonts by name through fontconfig, and Windows' base-unit measurement on them.
#include "ui/fltk/dialog_font.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <deque>
#include <map>
#include <string>
#include <utility>

#include "base/cstring.h"
#include "ui/fltk/desktop_scale.h"

namespace ui::fltk {

Fl_Font AddFace(const std::string& name) {
    static std::deque<std::string> names;  // FLTK keeps the pointers we register
    names.push_back(name);
    const auto face = static_cast<Fl_Font>(FL_FREE_FONT + static_cast<int>(names.size()) - 1);
    Fl::set_font(face, names.back().c_str());
    return face;
}

const DialogFont& FontFor(const char16_t* fontName, int points) {
    static std::map<std::pair<std::string, int>, DialogFont> fonts;
    const std::string name = CString(fontName ? fontName : u"Sans").ToUtf8();
    const auto key = std::make_pair(name, points);
    if (auto it = fonts.find(key); it != fonts.end())
        return it->second;

    DialogFont font;
    // A leading space asks for the plain style of the family.
    font.face = AddFace(" " + name);
    // Measured at 96 dpi and grown to the desktop's resolution as a whole: the dialog keeps its
    // proportions, and each text the room it has at 96 dpi.
    const int plainSize = PointsToPixels(points);
    fl_font(font.face, plainSize);
    const double letters = fl_width("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const BaseUnits plainUnits = BaseUnitsFromMeasure(letters, fl_height());
    font.size = ScaleToDpi(plainSize, DesktopDpi());
    font.units = ScaleToDpi(plainUnits, DesktopDpi());
    return fonts.emplace(key, font).first->second;
}

}  // namespace ui::fltk

namespace ui::fltk {

const DialogFont& FontFor(const DialogTemplate& t) {
    return FontFor(t.fontName, t.pointSize);
}

}  // namespace ui::fltk
