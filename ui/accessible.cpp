// The accessible model of the controls: roles, names (with the rule Windows uses for a control
// without text), states, values, text, actions and relations, read from the controls as they are.
#include "ui/accessible.h"

#include "ui/button_control.h"
#include "ui/edit_control.h"
#include "ui/list_control.h"
#include "ui/slider_control.h"
#include "ui/static_control.h"
#include "ui/window.h"

namespace ui {
namespace {

bool IsTextLabel(const Control& c) {
    const auto* label = c.TryAs<StaticControl>();
    return label && !label->IsIcon() && !c.Text().IsEmpty();
}

// Controls whose name comes from their own text; the others are named by a label.
bool NamedByOwnText(const Control& c) {
    return c.Class() == ControlClass::Button || c.Class() == ControlClass::Static;
}

// A button or static with text is named by it; the others need a label.
bool HasOwnName(const Control& c) {
    return NamedByOwnText(c) && !c.Text().IsEmpty();
}

bool TakesFocus(const Control& c) {
    if (const auto* button = c.TryAs<ButtonControl>())
        return !button->IsGroupBox();
    return c.Class() != ControlClass::Static;
}

// The label of a control that has no text of its own: the static text just before it in the
// template, as Windows finds it; else the one just after it, where a template puts the label of
// a control that sits left of its caption (the tiny Save button). -1 when there is none.
int LabelIndex(const Control& c) {
    if (HasOwnName(c))
        return -1;
    const auto& controls = c.Parent().Controls();
    const auto at = static_cast<std::size_t>(c.Index());
    if (at > 0 && IsTextLabel(*controls[at - 1]))
        return c.Index() - 1;
    if (at + 1 < controls.size() && IsTextLabel(*controls[at + 1])) {
        // Unless that label is already taken by the control after it.
        const bool takenAfter = at + 2 < controls.size() && !HasOwnName(*controls[at + 2]);
        if (!takenAfter)
            return c.Index() + 1;
    }
    return -1;
}

// The control that a static text labels, -1 for none.
int LabelledIndex(const Control& label) {
    if (!IsTextLabel(label))
        return -1;
    const auto& controls = label.Parent().Controls();
    for (int other : {label.Index() + 1, label.Index() - 1}) {
        if (other < 0 || other >= static_cast<int>(controls.size()))
            continue;
        const Control& c = *controls[static_cast<std::size_t>(other)];
        if (!IsTextLabel(c) && LabelIndex(c) == label.Index())
            return other;
    }
    return -1;
}

AccessibleRole RoleOf(const Control& c) {
    switch (c.Class()) {
        case ControlClass::Button: {
            const auto& b = c.As<ButtonControl>();
            if (b.IsGroupBox())
                return AccessibleRole::Panel;
            if (b.IsCheckBox())
                return AccessibleRole::CheckBox;
            if (b.IsRadio())
                return AccessibleRole::RadioButton;
            return AccessibleRole::PushButton;
        }
        case ControlClass::Edit:
            return c.As<EditControl>().IsMultiLine() ? AccessibleRole::Text : AccessibleRole::Entry;
        case ControlClass::ComboBox:
            return AccessibleRole::ComboBox;
        case ControlClass::Trackbar:
            return AccessibleRole::Slider;
        case ControlClass::Static:
            break;
    }
    return c.As<StaticControl>().IsIcon() ? AccessibleRole::Icon : AccessibleRole::Label;
}

bool WindowTakesInput(const DialogWindow& w) {
    return w.IsVisible() && w.IsEnabled() && !w.ModalEnded();
}

}  // namespace

CString AccessibleText(const CString& text, bool noPrefix) {
    if (noPrefix)
        return text;
    std::u16string out;
    const std::u16string& in = text.Str();
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] == u'&' && i + 1 < in.size())
            ++i;  // "&&" keeps the second, "&x" keeps the x
        else if (in[i] == u'&')
            continue;
        out += in[i];
    }
    return CString(std::move(out));
}

AccessibleNode DescribeControl(const Control& c) {
    AccessibleNode node;
    node.role = RoleOf(c);
    node.index = c.Index();
    const DialogWindow& window = c.Parent();

    const bool noPrefix = c.Class() == ControlClass::Static && (c.Style() & SS_NOPREFIX);
    if (HasOwnName(c))
        node.name = AccessibleText(c.Text(), noPrefix);
    node.labelledBy = LabelIndex(c);
    if (node.labelledBy >= 0)
        node.name = AccessibleText(
            window.Controls()[static_cast<std::size_t>(node.labelledBy)]->Text(),
            window.Controls()[static_cast<std::size_t>(node.labelledBy)]->Style() & SS_NOPREFIX);
    else if (node.name.IsEmpty() && c.Template().accessibleName)
        node.name = CString(c.Template().accessibleName);
    node.labelFor = LabelledIndex(c);

    if (c.IsEnabled())
        node.states |= kStateEnabled;
    if (c.IsVisible())
        node.states |= kStateVisible;
    if (c.IsVisible() && window.IsVisible() && !window.IsIconic())
        node.states |= kStateShowing;
    if (TakesFocus(c) && c.IsUsable())
        node.states |= kStateFocusable;
    if (window.FocusedControl() == &c)
        node.states |= kStateFocused;

    switch (node.role) {
        case AccessibleRole::PushButton:
            node.actions = {"press"};
            if (c.As<ButtonControl>().IsDefaultPushButton())
                node.states |= kStateDefault;
            break;
        case AccessibleRole::CheckBox:
        case AccessibleRole::RadioButton: {
            const auto& b = c.As<ButtonControl>();
            node.actions = {"click"};
            node.states |= kStateCheckable;
            if (b.Check() == BST_CHECKED)
                node.states |= kStateChecked;
            if (b.IsRadio())
                for (const ButtonControl* member : window.RadioGroup(c))
                    node.memberOf.push_back(member->Index());
            break;
        }
        case AccessibleRole::Entry:
        case AccessibleRole::Text: {
            const auto& e = c.As<EditControl>();
            node.states |= e.IsReadOnly() ? kStateReadOnly : kStateEditable;
            node.states |= e.IsMultiLine() ? kStateMultiLine : kStateSingleLine;
            node.hasText = true;
            node.text = c.Text();
            node.caret = e.Caret();
            node.selectionStart = e.SelStart();
            node.selectionEnd = e.SelEnd();
            break;
        }
        case AccessibleRole::Label:
            node.hasText = true;
            node.text = node.name;
            node.caret = -1;
            break;
        case AccessibleRole::ComboBox: {
            const auto& list = c.As<ListControl>();
            node.states |= kStateExpandable;
            node.hasRows = true;
            node.rows = list.Rows();
            node.selectedRow = list.CurSel();
            break;
        }
        case AccessibleRole::Slider: {
            const auto& s = c.As<SliderControl>();
            node.hasValue = true;
            node.value = s.Pos();
            node.minimum = s.RangeMin();
            node.maximum = s.RangeMax();
            node.step = s.LineSize();
            break;
        }
        default:
            break;
    }
    return node;
}

AccessibleNode DescribeWindow(const DialogWindow& w) {
    AccessibleNode node;
    node.role = AccessibleRole::Dialog;
    node.name = w.Text();
    node.states = kStateModal;
    if (w.IsEnabled())
        node.states |= kStateEnabled;
    if (w.IsVisible())
        node.states |= kStateVisible;
    if (w.IsVisible() && !w.IsIconic())
        node.states |= kStateShowing;
    if (WindowTakesInput(w) && !w.IsIconic())
        node.states |= kStateActive;
    return node;
}

AccessibleAlert DescribeMessageBox(const CString& text, const CString& caption, UINT /*type*/) {
    // Every box the program shows has one answer, OK (MB_OK), which Enter presses.
    AccessibleAlert alert;
    const std::uint32_t shown = kStateEnabled | kStateVisible | kStateShowing;
    alert.window.role = AccessibleRole::Alert;
    alert.window.name = caption;
    alert.window.states = shown | kStateModal | kStateActive;

    AccessibleNode label;
    label.role = AccessibleRole::Label;
    label.index = 0;
    label.name = text;
    label.states = shown;
    label.hasText = true;
    label.text = text;
    alert.children.push_back(label);

    AccessibleNode ok;
    ok.role = AccessibleRole::PushButton;
    ok.index = 1;
    ok.name = CString(u"OK");
    ok.states = shown | kStateFocusable | kStateFocused | kStateDefault;
    ok.actions = {"press"};
    alert.children.push_back(ok);
    return alert;
}

bool DoAccessibleAction(Control& c, int action) {
    const AccessibleNode node = DescribeControl(c);
    if (action < 0 || action >= static_cast<int>(node.actions.size()) || !c.IsUsable() ||
        !WindowTakesInput(c.Parent()))
        return false;
    c.UserClick();
    return true;
}

bool SelectAccessibleRow(Control& c, int row) {
    auto* list = c.TryAs<ListControl>();
    if (!list || !c.IsUsable() || !WindowTakesInput(c.Parent()) || row < 0 ||
        row >= static_cast<int>(list->Rows().size()))
        return false;
    list->UserSelectRow(row);
    return true;
}

bool SetAccessibleValue(Control& c, int value) {
    auto* slider = c.TryAs<SliderControl>();
    if (!slider || !c.IsUsable() || !WindowTakesInput(c.Parent()))
        return false;
    slider->UserSetPos(value);
    return true;
}

bool GrabAccessibleFocus(Control& c) {
    if (!TakesFocus(c) || !c.IsUsable() || !WindowTakesInput(c.Parent()))
        return false;
    c.Parent().SetFocus(&c);
    return true;
}

}  // namespace ui
