// The screen's text driver with font fallback: a text is cut into runs of characters that one
// font has, and each run is drawn and measured with FLTK's own driver in that font.
#include "ui/fltk/font_fallback.h"

#include <FL/Fl.H>
#include <FL/Fl_Device.H>
#include <FL/fl_utf8.h>
#include <FL/x.H>
#include <X11/Xft/Xft.h>
#include <fontconfig/fontconfig.h>

#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "ui/fltk/dialog_font.h"

// FLTK's current Xft font; its x.H declares it to FLTK's own sources only.
extern void* fl_xftfont;

namespace ui::fltk {
namespace {

// What fontconfig is asked for a face, as FLTK asks for it: a style letter (' ' plain, 'B' bold,
// 'I' italic, 'P' both) before comma-separated families, and the pixel size.
FcPattern* PatternOf(const std::string& name, int size) {
    FcPattern* pattern = FcPatternCreate();
    const char style = name.empty() ? ' ' : name[0];
    const bool styled = style == ' ' || style == 'B' || style == 'I' || style == 'P';
    std::string families = styled ? name.substr(1) : name;
    for (std::size_t begin = 0; begin <= families.size();) {
        const std::size_t comma = std::min(families.find(',', begin), families.size());
        std::string family = families.substr(begin, comma - begin);
        if (begin > 0 && !family.empty() &&
            std::string(" BIP").find(family[0]) != std::string::npos)
            family.erase(0, 1);
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        begin = comma + 1;
    }
    FcPatternAddInteger(pattern, FC_WEIGHT,
                        style == 'B' || style == 'P' ? FC_WEIGHT_BOLD : FC_WEIGHT_MEDIUM);
    FcPatternAddInteger(pattern, FC_SLANT,
                        style == 'I' || style == 'P' ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, size);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    return pattern;
}

// The faces that stand in for a face, found once per character.
class Fallbacks {
  public:
    // The face to show `code` with where `face` lacks it; `face` when no installed font has it.
    Fl_Font For(Fl_Font face, int size, unsigned code) {
        const auto key = std::make_tuple(face, size, code);
        if (auto it = chosen_.find(key); it != chosen_.end())
            return it->second;
        Fl_Font found = face;
        const std::string name = Fl::get_font(face) ? Fl::get_font(face) : " sans";
        if (FcFontSet* fonts = Sorted(face, size, name)) {
            for (int i = 0; i < fonts->nfont; ++i) {
                FcCharSet* chars = nullptr;
                FcChar8* family = nullptr;
                if (FcPatternGetCharSet(fonts->fonts[i], FC_CHARSET, 0, &chars) != FcResultMatch ||
                    !FcCharSetHasChar(chars, code) ||
                    FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch)
                    continue;
                // The stand-in keeps the face's style letter.
                const char style =
                    name[0] == 'B' || name[0] == 'I' || name[0] == 'P' ? name[0] : ' ';
                found = Face(style + std::string(reinterpret_cast<const char*>(family)));
                break;
            }
        }
        chosen_.emplace(key, found);
        return found;
    }

  private:
    // Every installed font in fontconfig's order of preference for the face.
    FcFontSet* Sorted(Fl_Font face, int size, const std::string& name) {
        const auto key = std::make_pair(face, size);
        if (auto it = sorted_.find(key); it != sorted_.end())
            return it->second;
        FcPattern* pattern = PatternOf(name, size);
        FcResult result = FcResultNoMatch;
        FcFontSet* fonts = FcFontSort(nullptr, pattern, FcTrue, nullptr, &result);
        FcPatternDestroy(pattern);
        sorted_.emplace(key, fonts);
        return fonts;
    }

    Fl_Font Face(const std::string& name) {
        if (auto it = faces_.find(name); it != faces_.end())
            return it->second;
        return faces_.emplace(name, AddFace(name)).first->second;
    }

    std::map<std::tuple<Fl_Font, int, unsigned>, Fl_Font> chosen_;
    std::map<std::pair<Fl_Font, int>, FcFontSet*> sorted_;  // kept for the program's life
    std::map<std::string, Fl_Font> faces_;
};

struct Run {
    const char* text;
    int length;
    Fl_Font face;
};

class FallbackDriver : public Fl_Xlib_Graphics_Driver {
  public:
    void draw(const char* str, int n, int x, int y) override {
        if (!Split(str, n)) {
            Fl_Xlib_Graphics_Driver::draw(str, n, x, y);
            return;
        }
        const Fl_Font face = Fl_Graphics_Driver::font();
        const int fontSize = size();
        double at = x;
        for (const Run& run : runs_) {
            Fl_Xlib_Graphics_Driver::font(run.face, fontSize);
            Fl_Xlib_Graphics_Driver::draw(run.text, run.length, static_cast<int>(std::lround(at)),
                                          y);
            at += Fl_Xlib_Graphics_Driver::width(run.text, run.length);
        }
        Fl_Xlib_Graphics_Driver::font(face, fontSize);
    }

    double width(const char* str, int n) override {
        if (!Split(str, n))
            return Fl_Xlib_Graphics_Driver::width(str, n);
        const Fl_Font face = Fl_Graphics_Driver::font();
        const int fontSize = size();
        double total = 0;
        for (const Run& run : runs_) {
            Fl_Xlib_Graphics_Driver::font(run.face, fontSize);
            total += Fl_Xlib_Graphics_Driver::width(run.text, run.length);
        }
        Fl_Xlib_Graphics_Driver::font(face, fontSize);
        return total;
    }

    double width(unsigned int c) override {
        char bytes[8];
        const int length = fl_utf8encode(c, bytes);
        return width(bytes, length);
    }

  private:
    // Cuts the text into runs_ of one font each; false when the current font has it all.
    bool Split(const char* str, int n) {
        auto* current = static_cast<XftFont*>(fl_xftfont);
        if (!current || n <= 0)
            return false;
        const Fl_Font face = Fl_Graphics_Driver::font();
        const char* end = str + n;
        bool fallback = false;
        runs_.clear();
        for (const char* at = str; at < end;) {
            int length = 0;
            const unsigned code = fl_utf8decode(at, end, &length);
            length = std::max(length, 1);
            Fl_Font runFace = face;
            if (code >= 0x20 && !XftCharExists(fl_display, current, code)) {
                runFace = fallbacks_.For(face, size(), code);
                fallback = fallback || runFace != face;
            }
            if (!runs_.empty() && runs_.back().face == runFace)
                runs_.back().length += length;
            else
                runs_.push_back({at, length, runFace});
            at += length;
        }
        return fallback;
    }

    Fallbacks fallbacks_;
    std::vector<Run> runs_;  // reused: drawing allocates nothing once warm
};

}  // namespace

void InstallFontFallback() {
    static FallbackDriver driver;
    Fl_Display_Device* display = Fl_Display_Device::display_device();
    display->driver(&driver);
    display->set_current();
}

}  // namespace ui::fltk
