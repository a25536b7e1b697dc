// Drop-down lists (the tempo list): rows, the chosen row, an optional sorted order, and the keys,
// the wheel and the typed letters that choose a row.
#pragma once

#include <vector>

#include "ui/window.h"

namespace ui {

class ListControl : public Control {
  public:
    static constexpr ControlClass kClass = ControlClass::ComboBox;
    ListControl(DialogWindow& parent, int index, const ControlTemplate& t)
        : Control(parent, index, t) {}

    const std::vector<CString>& Rows() const { return rows_; }
    int CurSel() const { return curSel_; }

    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Chooses a row as the user does, with CBN_SELCHANGE when the choice changes.
    void UserSelectRow(int row);
    // The arrows, Home, End, Page Up and Page Down move the choice.
    bool UserKey(UINT vk, unsigned modifiers) override;
    // A letter chooses the next row whose text begins with it, wrapping around.
    bool UserTypeChar(char16_t ch) override;
    // A row per notch, and only with the focus: the wheel does not steal it.
    void UserWheel(int notches) override;

  private:
    // Shows row `row` (-1: none) without notifying.
    void ShowRow(int row);

    std::vector<CString> rows_;
    int curSel_ = -1;
};

}  // namespace ui
