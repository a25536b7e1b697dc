// A static control: text (left or centred, wrapped, line breaks kept) or an icon.
#pragma once

#include "ui/fltk/control_widget.h"
#include "ui/static_control.h"

namespace ui::fltk {

class StaticText : public Fl_Widget, public KindWidget<StaticControl> {
  public:
    StaticText(DialogView& view, StaticControl& control, int x, int y, int w, int h);
    Fl_Widget& Widget() override { return *this; }

  protected:
    void draw() override;
    int handle(int) override { return 0; }
};

}  // namespace ui::fltk
