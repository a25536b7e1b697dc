// The trackbar: FLTK's slider, its range and position taken from the model; a drag goes to
// SliderControl::UserSetPos.
#pragma once

#include <FL/Fl_Slider.H>

#include "ui/fltk/control_widget.h"
#include "ui/slider_control.h"

namespace ui::fltk {

class SliderWidget : public Fl_Slider, public KindWidget<SliderControl> {
  public:
    SliderWidget(DialogView& view, SliderControl& control, int x, int y, int w, int h);
    Fl_Widget& Widget() override { return *this; }
    void Sync() override;

  protected:
    void draw() override;
    int handle(int event) override;

  private:
    static void Moved(Fl_Widget* widget, void*);
};

}  // namespace ui::fltk
