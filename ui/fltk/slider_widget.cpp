// Slider input: keys never reach FLTK's own slider handling (the dialog routes them).
#include "ui/fltk/slider_widget.h"

#include <FL/Fl.H>

#include <cmath>

namespace ui::fltk {

SliderWidget::SliderWidget(DialogView& view, SliderControl& control, int x, int y, int w, int h)
    : Fl_Slider(x, y, w, h), KindWidget(view, control) {
    type(FL_HOR_NICE_SLIDER);
    box(FL_FLAT_BOX);
    slider_size(0.12);
    step(1);
    callback(Moved);
    when(FL_WHEN_CHANGED);
}

void SliderWidget::Sync() {
    bounds(control_.RangeMin(), control_.RangeMax());
    value(control_.Pos());
}

int SliderWidget::handle(int event) {
    switch (event) {
        case FL_PUSH:
            if (!InputAllowed())
                return 1;
            control_.UserClick();  // takes the focus
            AfterInput();
            return Fl_Slider::handle(event);
        case FL_DRAG:
        case FL_RELEASE:
            return InputAllowed() ? Fl_Slider::handle(event) : 1;
        case FL_MOUSEWHEEL:
            if (InputAllowed()) {
                control_.UserWheel(Fl::event_dy());
                AfterInput();
            }
            return 1;
        case FL_KEYBOARD:
        case FL_FOCUS:
        case FL_UNFOCUS:
            return 0;
        default:
            return Fl_Slider::handle(event);
    }
}

void SliderWidget::Moved(Fl_Widget* widget, void*) {
    auto* self = static_cast<SliderWidget*>(widget);
    self->control_.UserSetPos(static_cast<int>(std::lround(self->value())));
    self->AfterInput();
}

void SliderWidget::draw() {
    Fl_Slider::draw();
    if (Focused())
        DrawFocusMark(x(), y(), w(), h());
}

}  // namespace ui::fltk
