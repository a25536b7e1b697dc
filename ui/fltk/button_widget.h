// Push buttons (the default one framed), radio buttons and check boxes. The check state comes
// from the model; a click goes to ButtonControl::UserClick, which runs the radio-group rules.
#pragma once

#include "ui/button_control.h"
#include "ui/fltk/control_widget.h"

namespace ui::fltk {

class ButtonWidget : public Fl_Widget, public KindWidget<ButtonControl> {
  public:
    ButtonWidget(DialogView& view, ButtonControl& control, int x, int y, int w, int h);
    Fl_Widget& Widget() override { return *this; }

  protected:
    void draw() override;
    int handle(int event) override;

  private:
    void DrawPush();
    void DrawMark(bool radio);
    bool pressed_ = false;
};

}  // namespace ui::fltk
