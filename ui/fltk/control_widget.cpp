// The shared part of the control widgets: questions to the view, and the focus mark.
#include "ui/fltk/control_widget.h"

#include <FL/fl_draw.H>

#include "ui/fltk/dialog_view.h"

namespace ui::fltk {

bool ControlWidget::Focused() const {
    return view_.HasFocus(model_);
}

bool ControlWidget::InputAllowed() const {
    return view_.InputAllowed() && model_.IsUsable();
}

void ControlWidget::AfterInput() {
    view_.AfterInput();
}

void DrawFocusMark(int x, int y, int w, int h) {
    fl_color(FL_FOREGROUND_COLOR);
    fl_line_style(FL_DOT);
    fl_rect(x, y, w, h);
    fl_line_style(0);
}

}  // namespace ui::fltk
