// Acts on a dialog as a user does (click, type, choose a row, drag the slider, press keys, close
// it) and reads what the dialog shows. After each action the dialog is left idle: posted messages
// are delivered and pending paints are done, as a real message loop would.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/accessible.h"
#include "ui/button_control.h"
#include "ui/edit_control.h"
#include "ui/list_control.h"
#include "ui/slider_control.h"
#include "ui/window.h"

namespace ui::headless {

class Driver {
  public:
    explicit Driver(DialogWindow& window) : window_(window) {}

    DialogWindow& Window() { return window_; }
    UINT TemplateId() const { return window_.Template().id; }

    // Actions.
    void Click(int id);
    void Key(UINT vk, unsigned modifiers = kNoModifier);
    // Types into the focused control, character by character ('\r' is Enter).
    void Type(std::u16string_view text);
    void Focus(int id);
    void ChooseRow(int id, int row);
    void ChooseRow(int id, std::u16string_view text);
    void DragSlider(int id, int pos);
    // The mouse wheel over a control, in notches (negative: away from the user).
    void Wheel(int id, int notches);
    // The mouse in an edit, at UTF-16 offsets of its text: a press and a drag, a press with
    // Shift, a double click, and a middle click (which pastes the X selection there).
    void DragText(int id, int from, int to);
    void ShiftClickText(int id, int at);
    void DoubleClickText(int id, int at);
    void MiddleClickText(int id, int at);
    // A right click on an edit opens its menu; choosing runs the entry's command when it is
    // enabled and returns whether it was.
    std::vector<EditMenuEntry> EditMenu(int id) const { return Edit(id).EditMenu(); }
    bool ChooseEditMenu(int id, UINT command);
    void CloseBox();
    void SystemCommand(UINT id);
    // Opens the system menu and chooses the item whose access key is `key`; false if none has it.
    bool ChooseSystemMenuItem(char16_t key);
    void Idle();
    // What a screen reader does: an action by number, a row chosen through the selection
    // interface, a slider's value set, the focus grabbed. Each returns whether it was taken.
    bool AccessibleAction(int id, int action = 0);
    bool AccessibleSelectRow(int id, int row);
    bool AccessibleSetValue(int id, int value);
    bool AccessibleFocus(int id);

    // What the dialog shows, and what a screen reader is told of it.
    AccessibleNode Accessible(int id) const { return DescribeControl(Item(id)); }
    AccessibleNode AccessibleWindow() const { return DescribeWindow(window_); }
    Control& Item(int id) const;
    // The control as its kind; std::logic_error when it is another kind.
    ButtonControl& Button(int id) const { return Item(id).As<ButtonControl>(); }
    ListControl& List(int id) const { return Item(id).As<ListControl>(); }
    EditControl& Edit(int id) const { return Item(id).As<EditControl>(); }
    SliderControl& Slider(int id) const { return Item(id).As<SliderControl>(); }
    CString Text(int id) const { return Item(id).Text(); }
    bool Visible(int id) const { return Item(id).IsVisible(); }
    bool Enabled(int id) const { return Item(id).IsEnabled(); }
    int Check(int id) const { return Button(id).Check(); }
    int CurSel(int id) const { return List(id).CurSel(); }
    int SliderPos(int id) const { return Slider(id).Pos(); }
    // An edit's selection as [start, end) and its selected text.
    std::pair<int, int> Selection(int id) const { return {Edit(id).SelStart(), Edit(id).SelEnd()}; }
    CString SelectedText(int id) const { return Edit(id).SelectedText(); }
    // Id of the focused control, 0 when none.
    int FocusId() const;
    // Id of the selected radio button in the group of `anyId`, 0 when none.
    int SelectedRadio(int anyId) const;
    bool Ended() const { return window_.ModalEnded(); }

  private:
    DialogWindow& window_;
};

}  // namespace ui::headless
