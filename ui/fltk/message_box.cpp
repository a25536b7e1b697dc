// Message box window: everything drawn by us, so that no "@" or "&" in the text is taken as
// markup and the OK button has no arrow painted on it.
#include "ui/fltk/message_box.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <string>
#include <utility>

#include "ui/fltk/desktop_scale.h"
#include "ui/fltk/dialog_font.h"
#include "ui/fltk/fltk_backend.h"
#include "ui/fltk/key_map.h"

namespace ui::fltk {
namespace {

enum class Icon { NoIcon, Stop, Warning, Information };

Icon IconOf(UINT type) {
    switch (type & 0xF0) {
        case MB_ICONSTOP:
            return Icon::Stop;
        case MB_ICONWARNING:
            return Icon::Warning;
        case MB_ICONINFORMATION:
            return Icon::Information;
        default:
            return Icon::NoIcon;
    }
}

// Sizes of the 96 dpi design, grown with the desktop's scale.
int IconSize() {
    return Scaled(32);
}
int Margin() {
    return Scaled(12);
}

// Drawn on a grid of 32 x 32 points.
void DrawIcon(Icon icon, int x, int y) {
    const auto at = [](int v) { return Scaled(v); };
    const int size = IconSize();
    switch (icon) {
        case Icon::Stop:
            fl_color(fl_rgb_color(200, 30, 30));
            fl_pie(x, y, size, size, 0, 360);
            fl_color(FL_WHITE);
            fl_line_style(FL_SOLID, at(4));
            fl_line(x + at(10), y + at(10), x + at(22), y + at(22));
            fl_line(x + at(22), y + at(10), x + at(10), y + at(22));
            fl_line_style(0);
            break;
        case Icon::Warning:
            fl_color(fl_rgb_color(240, 190, 20));
            fl_polygon(x + at(16), y + at(1), x + at(31), y + at(30), x + at(1), y + at(30));
            fl_color(FL_BLACK);
            fl_rectf(x + at(15), y + at(10), at(3), at(11));
            fl_rectf(x + at(15), y + at(24), at(3), at(3));
            break;
        case Icon::Information:
            fl_color(fl_rgb_color(30, 90, 200));
            fl_pie(x, y, size, size, 0, 360);
            fl_color(FL_WHITE);
            fl_rectf(x + at(14), y + at(7), at(4), at(4));
            fl_rectf(x + at(14), y + at(13), at(4), at(12));
            break;
        case Icon::NoIcon:
            break;
    }
}

// The box's OK button: framed as the default button, with a focus mark.
class OkButton : public Fl_Button {
  public:
    OkButton(int x, int y, int w, int h, const DialogFont& font)
        : Fl_Button(x, y, w, h), font_(font) {}

  protected:
    void draw() override {
        fl_color(FL_FOREGROUND_COLOR);
        fl_rect(x(), y(), w(), h());
        draw_box(value() ? FL_DOWN_BOX : FL_UP_BOX, x() + 1, y() + 1, w() - 2, h() - 2,
                 FL_BACKGROUND_COLOR);
        fl_font(font_.face, font_.size);
        fl_color(FL_FOREGROUND_COLOR);
        fl_draw("OK", x(), y(), w(), h(), FL_ALIGN_CENTER, nullptr, 0);
        fl_line_style(FL_DOT);
        const int inset = Scaled(4);
        fl_rect(x() + inset, y() + inset, w() - 2 * inset, h() - 2 * inset);
        fl_line_style(0);
    }

  private:
    const DialogFont& font_;
};

class BoxWindow : public Fl_Double_Window {
  public:
    BoxWindow(int w, int h, const std::string& text, Icon icon, const DialogFont& font)
        : Fl_Double_Window(w, h), text_(text), icon_(icon), font_(font) {}
    bool closed = false;

  protected:
    int handle(int event) override {
        if (event == FL_KEYBOARD || event == FL_SHORTCUT) {
            const KeyStroke key = ToKeyStroke(Fl::event_key(), Fl::event_state());
            const bool closes =
                (key.modifiers == kNoModifier &&
                 (key.vk == VK_RETURN || key.vk == VK_ESCAPE || key.vk == VK_SPACE)) ||
                (key.vk == VK_F4 && key.modifiers == kAlt);
            if (closes)
                closed = true;
            return 1;
        }
        return Fl_Double_Window::handle(event);
    }
    void draw() override {
        Fl_Double_Window::draw();
        const int margin = Margin(), iconSize = IconSize();
        const int textX = icon_ == Icon::NoIcon ? margin : 2 * margin + iconSize;
        DrawIcon(icon_, margin, margin);
        fl_font(font_.face, font_.size);
        fl_color(FL_FOREGROUND_COLOR);
        int tw = w() - textX - margin, th = 0;
        fl_measure(text_.c_str(), tw, th, 0);
        const int ty = margin + std::max(0, (iconSize - th) / 2);
        fl_draw(text_.c_str(), textX, ty, w() - textX - margin, th,
                FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_WRAP, nullptr, 0);
    }

  private:
    std::string text_;
    Icon icon_;
    const DialogFont& font_;
};

std::string WithoutCarriageReturns(const CString& text) {
    std::string out;
    for (char c : text.ToUtf8())
        if (c != '\r')
            out += c;
    return out;
}

// The innermost box shown, for an answer that comes from outside it (a screen reader).
BoxWindow* g_innermost = nullptr;

}  // namespace

bool AnswerMessageBox(int result) {
    if (!g_innermost || result != IDOK)
        return false;
    g_innermost->closed = true;
    return true;
}

int RunMessageBox(Fl_Window* owner, const CString& text, const CString& caption, UINT type) {
    const DialogFont& font = FontFor(u"Verdana", 9);
    const Icon icon = IconOf(type);
    const std::string body = WithoutCarriageReturns(text);
    fl_font(font.face, font.size);
    // Lines keep their natural width up to a limit; longer ones wrap.
    const int maxTextWidth = Scaled(640);
    const int margin = Margin(), iconSize = IconSize();
    int tw = 0, th = 0;
    fl_measure(body.c_str(), tw, th, 0);
    if (tw > maxTextWidth) {
        tw = maxTextWidth;
        fl_measure(body.c_str(), tw, th, 0);
    }
    const int textX = icon == Icon::NoIcon ? margin : 2 * margin + iconSize;
    const int buttonW = Scaled(80), buttonH = Scaled(26);
    const int contentH = std::max(th, icon == Icon::NoIcon ? 0 : iconSize);
    // Wide enough for the caption too, as a title bar would show it.
    const std::string title = caption.ToUtf8();
    const int captionW = static_cast<int>(fl_width(title.c_str())) + Scaled(80);
    const int w = std::max({textX + tw + margin, buttonW + 2 * margin, captionW, Scaled(200)});
    const int h = margin + contentH + margin + buttonH + margin;

    BoxWindow box(w, h, body, icon, font);
    box.copy_label(title.c_str());
    auto* ok = new OkButton((w - buttonW) / 2, h - margin - buttonH, buttonW, buttonH, font);
    ok->callback(
        [](Fl_Widget* button, void*) { static_cast<BoxWindow*>(button->window())->closed = true; });
    box.end();
    box.callback([](Fl_Widget* window, void*) { static_cast<BoxWindow*>(window)->closed = true; });
    box.set_modal();
    box.size_range(w, h, w, h);
    if (owner && owner->shown()) {
        box.position(owner->x() + (owner->w() - w) / 2, owner->y() + (owner->h() - h) / 2);
    } else {
        int sx = 0, sy = 0, sw = 0, sh = 0;
        Fl::screen_work_area(sx, sy, sw, sh);
        box.position(sx + (sw - w) / 2, sy + (sh - h) / 2);
    }
    box.show();
    BoxWindow* const outer = std::exchange(g_innermost, &box);
    while (!box.closed && box.shown() && !FltkBackend::EndRequested())
        Fl::wait();
    g_innermost = outer;
    box.hide();
    return IDOK;
}

}  // namespace ui::fltk
