// A drop-down list combo box: the chosen row in a box with an arrow button; the list opens in a
// window of its own, and a chosen row goes to ListControl::UserSelectRow.
#pragma once

#include "ui/fltk/control_widget.h"
#include "ui/list_control.h"

namespace ui::fltk {

class ComboBox : public Fl_Widget, public KindWidget<ListControl> {
  public:
    // `openHeight` is the template's height with the list open.
    ComboBox(DialogView& view, ListControl& control, int x, int y, int w, int h, int openHeight);
    Fl_Widget& Widget() override { return *this; }
    void OpenDropList() override;
    // A typed character chooses the next row that begins with it.
    bool EditKey(int key, int state) override;

  protected:
    void draw() override;
    int handle(int event) override;

  private:
    int openHeight_;
};

}  // namespace ui::fltk
