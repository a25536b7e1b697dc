// The headless driver: every action goes through the same framework entry points a backend uses.
#include "ui/headless/driver.h"

#include <stdexcept>
#include <string>

#include "ui/backend.h"

namespace ui::headless {

Control& Driver::Item(int id) const {
    Control* c = window_.FindControl(id);
    if (!c)
        throw std::out_of_range("no control " + std::to_string(id));
    return *c;
}

void Driver::Idle() {
    DispatchPostedMessages();
    window_.PaintPending();
    DispatchPostedMessages();
}

bool Driver::AccessibleAction(int id, int action) {
    const bool taken = DoAccessibleAction(Item(id), action);
    Idle();
    return taken;
}

bool Driver::AccessibleSelectRow(int id, int row) {
    const bool taken = SelectAccessibleRow(Item(id), row);
    Idle();
    return taken;
}

bool Driver::AccessibleSetValue(int id, int value) {
    const bool taken = SetAccessibleValue(Item(id), value);
    Idle();
    return taken;
}

bool Driver::AccessibleFocus(int id) {
    const bool taken = GrabAccessibleFocus(Item(id));
    Idle();
    return taken;
}

void Driver::Click(int id) {
    if (window_.IsEnabled())
        Item(id).UserClick();
    Idle();
}

void Driver::Key(UINT vk, unsigned modifiers) {
    window_.KeyDown(vk, modifiers);
    Idle();
}

void Driver::Type(std::u16string_view text) {
    for (char16_t ch : text) {
        if (ch == u'\r') {
            window_.KeyDown(VK_RETURN, kNoModifier);
        } else if (Control* c = window_.FocusedControl()) {
            c->UserTypeChar(ch);
        }
        Idle();
    }
}

void Driver::Focus(int id) {
    Control& c = Item(id);
    if (c.IsUsable())
        window_.SetFocus(&c);
    Idle();
}

void Driver::ChooseRow(int id, int row) {
    ListControl& c = List(id);
    if (c.IsUsable())
        window_.SetFocus(&c);
    c.UserSelectRow(row);
    Idle();
}

void Driver::ChooseRow(int id, std::u16string_view text) {
    const auto& rows = List(id).Rows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].Str() == text)
            return ChooseRow(id, static_cast<int>(i));
    throw std::out_of_range("no such row");
}

void Driver::DragSlider(int id, int pos) {
    SliderControl& c = Slider(id);
    if (c.IsUsable())
        window_.SetFocus(&c);
    c.UserSetPos(pos);
    Idle();
}

void Driver::Wheel(int id, int notches) {
    if (window_.IsEnabled())
        Item(id).UserWheel(notches);
    Idle();
}

void Driver::DragText(int id, int from, int to) {
    Edit(id).UserPlaceCaret(from, false);
    Edit(id).UserPlaceCaret(to, true);
    Idle();
}

void Driver::ShiftClickText(int id, int at) {
    Edit(id).UserPlaceCaret(at, true);
    Idle();
}

void Driver::DoubleClickText(int id, int at) {
    Edit(id).UserSelectWord(at);
    Idle();
}

void Driver::MiddleClickText(int id, int at) {
    EditControl& c = Edit(id);
    c.UserPlaceCaret(at, false);
    if (Backend* backend = CurrentBackend(); backend && c.IsUsable())
        backend->PasteInto(c, true);
    Idle();
}

bool Driver::ChooseEditMenu(int id, UINT command) {
    EditControl& c = Edit(id);
    if (!c.IsUsable())
        return false;
    window_.SetFocus(&c);
    for (const EditMenuEntry& entry : c.EditMenu()) {
        if (entry.command == command && entry.enabled) {
            c.UserEditCommand(command);
            Idle();
            return true;
        }
    }
    Idle();
    return false;
}

void Driver::CloseBox() {
    window_.UserClose();
    Idle();
}

void Driver::SystemCommand(UINT id) {
    window_.UserSystemCommand(id);
    Idle();
}

bool Driver::ChooseSystemMenuItem(char16_t key) {
    const auto lower = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; };
    for (const MenuItem& item : window_.SystemMenu()) {
        const auto& text = item.text.Str();
        for (std::size_t i = 0; i + 1 < text.size(); ++i) {
            if (text[i] == u'&' && text[i + 1] != u'&' && lower(text[i + 1]) == lower(key)) {
                SystemCommand(item.id);
                return true;
            }
        }
    }
    return false;
}

int Driver::FocusId() const {
    const Control* c = window_.FocusedControl();
    return c ? c->Id() : 0;
}

int Driver::SelectedRadio(int anyId) const {
    for (const ButtonControl* r : window_.RadioGroup(Item(anyId)))
        if (r->Check() == BST_CHECKED)
            return r->Id();
    return 0;
}

}  // namespace ui::headless
