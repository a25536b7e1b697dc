// Buttons: the check state, the auto radio group and the keys a button answers.
#include "ui/button_control.h"

#include <algorithm>

namespace ui {

bool ButtonControl::IsPushButton() const {
    return Type() == BS_PUSHBUTTON || Type() == BS_DEFPUSHBUTTON;
}

void ButtonControl::SetCheck(int check) {
    if (check_ == check)
        return;
    check_ = check;
    Changed();
}

LRESULT ButtonControl::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case BM_GETCHECK:
            return check_;
        case BM_SETCHECK:
            check_ = static_cast<int>(wParam);
            Changed();
            return 0;
        default:
            return Control::Send(message, wParam, lParam);
    }
}

void ButtonControl::UserClick() {
    if (!IsUsable() || Parent().ModalEnded() || IsGroupBox())
        return;
    Control::UserClick();
    if (IsCheckBox()) {
        SetCheck(check_ == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    } else if (IsRadio()) {
        for (ButtonControl* other : Parent().RadioGroup(*this))
            other->SetCheck(other == this ? BST_CHECKED : BST_UNCHECKED);
    }
    Notify(BN_CLICKED);
}

void ButtonControl::Press() {
    if (IsUsable() && !Parent().ModalEnded() && IsPushButton())
        Notify(BN_CLICKED);
}

bool ButtonControl::UserKey(UINT vk, unsigned modifiers) {
    if (!IsUsable() || (modifiers & (kControl | kAlt)))
        return false;
    if (vk == VK_SPACE && !IsGroupBox()) {
        UserClick();
        return true;
    }
    if (!IsRadio() || (vk != VK_UP && vk != VK_DOWN && vk != VK_LEFT && vk != VK_RIGHT))
        return false;
    const auto group = Parent().RadioGroup(*this);
    const auto n = static_cast<int>(group.size());
    const int self = static_cast<int>(std::find(group.begin(), group.end(), this) - group.begin());
    const int step = (vk == VK_DOWN || vk == VK_RIGHT) ? 1 : n - 1;
    for (int k = 1; k < n; ++k) {
        ButtonControl* next = group[static_cast<std::size_t>((self + k * step) % n)];
        if (next->IsUsable()) {
            next->UserClick();
            break;
        }
    }
    return true;
}

bool ButtonControl::UserEnter() {
    if (!IsUsable() || !IsPushButton())
        return false;
    UserClick();
    return true;
}

}  // namespace ui
