// A group box: an engraved frame with its title set into the top line.
#pragma once

#include "ui/button_control.h"
#include "ui/fltk/control_widget.h"

namespace ui::fltk {

class GroupBox : public Fl_Widget, public KindWidget<ButtonControl> {
  public:
    GroupBox(DialogView& view, ButtonControl& control, int x, int y, int w, int h);
    Fl_Widget& Widget() override { return *this; }

  protected:
    void draw() override;
    int handle(int) override { return 0; }  // clicks fall through to the controls inside
};

}  // namespace ui::fltk
