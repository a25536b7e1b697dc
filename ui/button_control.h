// Buttons: push buttons (the default one answers Enter), auto check boxes, auto radio buttons
// whose group the dialog's template sets, and group boxes, which only frame others.
#pragma once

#include "ui/window.h"

namespace ui {

class ButtonControl : public Control {
  public:
    static constexpr ControlClass kClass = ControlClass::Button;
    ButtonControl(DialogWindow& parent, int index, const ControlTemplate& t)
        : Control(parent, index, t) {}

    bool IsPushButton() const;
    bool IsDefaultPushButton() const { return Type() == BS_DEFPUSHBUTTON; }
    bool IsRadio() const { return Type() == BS_AUTORADIOBUTTON; }
    bool IsCheckBox() const { return Type() == BS_AUTOCHECKBOX; }
    bool IsGroupBox() const { return Type() == BS_GROUPBOX; }
    int Check() const { return check_; }

    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) override;
    // A check box toggles, a radio button selects itself in its group; all send BN_CLICKED.
    void UserClick() override;
    // Presses a push button from the keyboard (Enter on another control): the focus stays.
    void Press();
    // Space clicks; the arrows move the selection through a radio group.
    bool UserKey(UINT vk, unsigned modifiers) override;
    bool UserEnter() override;

  private:
    DWORD Type() const { return style_ & BS_TYPEMASK; }
    void SetCheck(int check);

    int check_ = 0;
};

}  // namespace ui
