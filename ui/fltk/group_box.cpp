// Group box drawing; the frame starts half a line down so the title sits on it.
#include "ui/fltk/group_box.h"

#include <FL/fl_draw.H>

#include "ui/fltk/caption_text.h"
#include "ui/fltk/dialog_view.h"

namespace ui::fltk {

GroupBox::GroupBox(DialogView& view, ButtonControl& control, int x, int y, int w, int h)
    : Fl_Widget(x, y, w, h), KindWidget(view, control) {
    box(FL_NO_BOX);
}

void GroupBox::draw() {
    const DialogFont& font = view_.Font();
    fl_font(font.face, font.size);
    const int lineHeight = fl_height();
    const int top = y() + lineHeight / 2;
    draw_box(FL_ENGRAVED_FRAME, x(), top, w(), h() - (top - y()), FL_BACKGROUND_COLOR);
    const std::string title = ShownCaption(control_.Text());
    if (title.empty())
        return;
    const int inset = font.units.x * 3 / 2;
    const int tw = static_cast<int>(fl_width(title.c_str()));
    fl_color(FL_BACKGROUND_COLOR);
    fl_rectf(x() + inset - 2, y(), tw + 4, lineHeight);
    fl_color(active_r() ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR));
    fl_draw(title.c_str(), x() + inset, y(), tw, lineHeight, FL_ALIGN_LEFT, nullptr, 0);
}

}  // namespace ui::fltk
