// One dialog on the screen: a fixed-size window with a widget for each control of the model. It
// draws the model's state and routes mouse, keyboard and window-manager input into the model,
// letting the model run its rules, then does what an idle message loop does.
#pragma once

#include <memory>
#include <vector>

#include "ui/backend.h"
#include "ui/fltk/control_widget.h"
#include "ui/fltk/dialog_font.h"
#include "ui/window.h"

class Fl_Double_Window;

namespace ui::fltk {

class DialogFrame;

class DialogView : public WindowView {
  public:
    explicit DialogView(DialogWindow& model);
    ~DialogView() override;
    DialogView(const DialogView&) = delete;
    DialogView& operator=(const DialogView&) = delete;

    void Show(bool visible) override;
    void Update(int index) override;
    RECT ClientRect() const override;

    DialogWindow& Model() const { return model_; }
    Fl_Double_Window& Frame() const;
    const DialogFont& Font() const { return font_; }

    // The dialog takes input only while it is enabled (not under a modal dialog) and running.
    bool InputAllowed() const { return model_.IsEnabled() && !model_.ModalEnded(); }
    bool HasFocus(const Control& control) const { return model_.FocusedControl() == &control; }
    // The widget that shows a control of this dialog.
    Fl_Widget& WidgetOf(const Control& control) const;
    // The push button that Enter would press wears the default frame.
    bool ShowsDefaultFrame(const Control& control) const;

    // After each input: posted messages are delivered and pending paints done.
    void AfterInput();

    // Input from the frame window.
    void Key(int key, int state);
    void CloseBox();
    void RightClick(int x, int y);
    void MappedChanged(bool mapped);

  private:
    void CreateWidgets();
    void UpdateWindow();
    void OpenSystemMenu(int x, int y);
    void Place();

    DialogWindow& model_;
    const DialogFont& font_;
    DialogFrame* frame_;
    std::vector<ControlWidget*> widgets_;  // by control index; the frame owns the widgets
    const IconResource* shownIcon_ = nullptr;
    bool hiding_ = false;
    bool iconified_ = false;
    bool placed_ = false;
};

}  // namespace ui::fltk
