// Button drawing of our own: FLTK's return button would paint an arrow over the caption, and its
// radio buttons would group by parent instead of by template order.
#include "ui/fltk/button_widget.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "ui/fltk/caption_text.h"
#include "ui/fltk/desktop_scale.h"
#include "ui/fltk/dialog_view.h"

namespace ui::fltk {
namespace {
// A square bevel: the scheme's rounded face would make a tiny button look like a check box.
void DrawBevel(int x, int y, int w, int h, bool pressed) {
    fl_color(FL_BACKGROUND_COLOR);
    fl_rectf(x, y, w, h);
    fl_color(pressed ? FL_DARK3 : FL_LIGHT3);
    fl_xyline(x, y, x + w - 1);
    fl_yxline(x, y, y + h - 1);
    fl_color(pressed ? FL_LIGHT3 : FL_DARK3);
    fl_xyline(x, y + h - 1, x + w - 1);
    fl_yxline(x + w - 1, y, y + h - 1);
}
}  // namespace

ButtonWidget::ButtonWidget(DialogView& view, ButtonControl& control, int x, int y, int w, int h)
    : Fl_Widget(x, y, w, h), KindWidget(view, control) {
    box(FL_NO_BOX);
}

int ButtonWidget::handle(int event) {
    switch (event) {
        case FL_PUSH:
            if (Fl::event_button() != FL_LEFT_MOUSE)
                return 0;
            if (InputAllowed()) {
                pressed_ = true;
                redraw();
            }
            return 1;
        case FL_DRAG:
            if (pressed_ != (Fl::event_inside(this) != 0)) {
                pressed_ = !pressed_;
                redraw();
            }
            return 1;
        case FL_RELEASE: {
            const bool click = pressed_ && Fl::event_inside(this);
            pressed_ = false;
            redraw();
            if (click && InputAllowed()) {
                control_.UserClick();
                AfterInput();
            }
            return 1;
        }
        case FL_ENTER:
        case FL_LEAVE:
            return 1;
        default:
            return 0;
    }
}

void ButtonWidget::draw() {
    if (control_.IsPushButton())
        DrawPush();
    else
        DrawMark(control_.IsRadio());
}

void ButtonWidget::DrawPush() {
    if (w() < Scaled(16) || h() < Scaled(16)) {
        DrawBevel(x(), y(), w(), h(), pressed_);
        const int inset = Scaled(2);
        if (Focused())
            DrawFocusMark(x() + inset, y() + inset, w() - 2 * inset, h() - 2 * inset);
        return;
    }
    const Fl_Boxtype face = pressed_ ? FL_DOWN_BOX : FL_UP_BOX;
    if (view_.ShowsDefaultFrame(control_)) {
        fl_color(FL_FOREGROUND_COLOR);
        fl_rect(x(), y(), w(), h());
        draw_box(face, x() + 1, y() + 1, w() - 2, h() - 2, FL_BACKGROUND_COLOR);
    } else {
        draw_box(face, x(), y(), w(), h(), FL_BACKGROUND_COLOR);
    }
    const DialogFont& font = view_.Font();
    fl_font(font.face, font.size);
    fl_color(active_r() ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR));
    const int shift = pressed_ ? Scaled(1) : 0;
    fl_draw(ShownCaption(control_.Text()).c_str(), x() + shift, y() + shift, w(), h(),
            FL_ALIGN_CENTER | FL_ALIGN_CLIP, nullptr, 0);
    const int inset = Scaled(3);
    if (Focused() && w() > 3 * inset && h() > 3 * inset)
        DrawFocusMark(x() + inset, y() + inset, w() - 2 * inset, h() - 2 * inset);
}

void ButtonWidget::DrawMark(bool radio) {
    const int side = std::min(Scaled(13), h());
    const int gap = Scaled(3);
    const int bx = x();
    const int by = y() + (h() - side) / 2;
    const bool checked = control_.Check() == static_cast<int>(BST_CHECKED);
    const Fl_Color ink = active_r() ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR);
    if (radio) {
        fl_color(pressed_ ? FL_BACKGROUND_COLOR : FL_BACKGROUND2_COLOR);
        fl_pie(bx, by, side, side, 0, 360);
        fl_color(FL_DARK3);
        fl_arc(bx, by, side, side, 0, 360);
        if (checked) {
            fl_color(ink);
            fl_pie(bx + gap, by + gap, side - 2 * gap, side - 2 * gap, 0, 360);
        }
    } else {
        draw_box(FL_DOWN_BOX, bx, by, side, side,
                 pressed_ ? FL_BACKGROUND_COLOR : FL_BACKGROUND2_COLOR);
        if (checked) {
            fl_color(ink);
            fl_line_style(FL_SOLID, Scaled(2));
            fl_line(bx + gap, by + side / 2, bx + side / 2 - 1, by + side - gap - 1,
                    bx + side - gap, by + gap);
            fl_line_style(0);
        }
    }
    const DialogFont& font = view_.Font();
    fl_font(font.face, font.size);
    fl_color(ink);
    const std::string text = ShownCaption(control_.Text());
    const int tx = bx + side + Scaled(4);
    fl_draw(text.c_str(), tx, y(), w() - (tx - x()), h(), FL_ALIGN_LEFT | FL_ALIGN_CLIP, nullptr,
            0);
    if (Focused()) {
        const int tw = std::min(static_cast<int>(fl_width(text.c_str())), w() - (tx - x()));
        const int th = std::min(fl_height(), h());
        DrawFocusMark(tx - 1, y() + (h() - th) / 2, tw + 2, th);
    }
}

}  // namespace ui::fltk
