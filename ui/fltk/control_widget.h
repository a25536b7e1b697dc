// What every widget of a dialog control shares: the model control it shows, the view it lives
// in, and the focus mark. The widget draws the control's state and hands input to the control;
// KindWidget gives it the control as its kind (an edit, a list...).
#pragma once

#include <FL/Fl_Widget.H>

#include "ui/window.h"

namespace ui::fltk {

class DialogView;

class ControlWidget {
  public:
    ControlWidget(DialogView& view, Control& control) : view_(view), model_(control) {}
    virtual ~ControlWidget() = default;
    ControlWidget(const ControlWidget&) = delete;
    ControlWidget& operator=(const ControlWidget&) = delete;

    virtual Fl_Widget& Widget() = 0;
    // Takes the control's state that the common part (visibility, enabled) does not cover.
    virtual void Sync() {}
    // Keys that edit text at the cursor; false for keys the dialog should get.
    virtual bool EditKey(int /*key*/, int /*state*/) { return false; }
    // Opens a combo box's list from the keyboard.
    virtual void OpenDropList() {}

    Control& Model() const { return model_; }

  protected:
    bool Focused() const;
    bool InputAllowed() const;
    void AfterInput();

    DialogView& view_;

  private:
    Control& model_;
};

// The widget of one kind of control.
template <class Kind>
class KindWidget : public ControlWidget {
  public:
    KindWidget(DialogView& view, Kind& control) : ControlWidget(view, control), control_(control) {}

  protected:
    Kind& control_;
};

// A dotted rectangle, as the focused control shows it.
void DrawFocusMark(int x, int y, int w, int h);

}  // namespace ui::fltk
