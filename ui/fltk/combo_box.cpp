// Combo box drawing and the hand-over to the drop list.
#include "ui/fltk/combo_box.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include "ui/fltk/desktop_scale.h"
#include "ui/fltk/dialog_view.h"
#include "ui/fltk/drop_list.h"

namespace ui::fltk {

ComboBox::ComboBox(DialogView& view, ListControl& control, int x, int y, int w, int h,
                   int openHeight)
    : Fl_Widget(x, y, w, h), KindWidget(view, control), openHeight_(openHeight) {
    box(FL_NO_BOX);
}

int ComboBox::handle(int event) {
    switch (event) {
        case FL_PUSH:
            if (Fl::event_button() != FL_LEFT_MOUSE)
                return 0;
            if (InputAllowed()) {
                control_.UserClick();  // takes the focus
                AfterInput();
                OpenDropList();
            }
            return 1;
        case FL_MOUSEWHEEL:
            // Moves the choice when the list has the focus; otherwise the wheel is not ours.
            if (!InputAllowed() || !Focused())
                return 0;
            control_.UserWheel(Fl::event_dy());
            AfterInput();
            return 1;
        case FL_ENTER:
        case FL_LEAVE:
            return 1;
        default:
            return 0;
    }
}

bool ComboBox::EditKey(int /*key*/, int state) {
    const char* typed = Fl::event_text();
    if ((state & (FL_CTRL | FL_ALT | FL_META)) || Fl::event_length() == 0 ||
        static_cast<unsigned char>(typed[0]) <= 0x20 || typed[0] == 0x7F)
        return false;
    const CString chars = CString::FromUtf8(typed);
    if (!chars.IsEmpty())
        control_.UserTypeChar(chars.Str()[0]);
    return true;
}

void ComboBox::OpenDropList() {
    if (!InputAllowed())
        return;
    std::vector<std::string> rows;
    for (const CString& row : control_.Rows())
        rows.push_back(row.ToUtf8());
    const int row =
        ChooseFromDropList(*this, rows, control_.CurSel(), openHeight_ - h(), view_.Font());
    if (row >= 0 && InputAllowed())
        control_.UserSelectRow(row);
    AfterInput();
    redraw();
}

void ComboBox::draw() {
    draw_box(FL_DOWN_BOX, x(), y(), w(), h(), FL_BACKGROUND2_COLOR);
    const int frame = Scaled(2);
    const int bw = h() - 2 * frame;  // the arrow button is square
    const int bx = x() + w() - bw - frame;
    draw_box(FL_UP_BOX, bx, y() + frame, bw, h() - 2 * frame, FL_BACKGROUND_COLOR);
    const Fl_Color ink = active_r() ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR);
    fl_color(ink);
    const int ax = bx + bw / 2;
    const int ay = y() + h() / 2;
    const int arrow = Scaled(4);
    fl_polygon(ax - arrow, ay - arrow / 2, ax + arrow, ay - arrow / 2, ax, ay + arrow / 2);

    const int margin = Scaled(3);
    const int tx = x() + margin;
    const int tw = bx - tx - frame;
    const int ty = y() + margin;
    const int th = h() - 2 * margin;
    if (Focused()) {
        fl_color(FL_SELECTION_COLOR);
        fl_rectf(tx, ty, tw, th);
        fl_color(fl_contrast(FL_FOREGROUND_COLOR, FL_SELECTION_COLOR));
    }
    const DialogFont& font = view_.Font();
    fl_font(font.face, font.size);
    fl_draw(control_.Text().ToUtf8().c_str(), tx + frame, ty, tw - 2 * frame, th,
            FL_ALIGN_LEFT | FL_ALIGN_CLIP, nullptr, 0);
    if (Focused())
        DrawFocusMark(tx, ty, tw, th);
}

}  // namespace ui::fltk
