// What a screen reader is told about a dialog: each control kind maps to one accessible role, with
// its name, states, value, text, actions and relations, read from the controls as they are.
// Backends that speak to an accessibility bus translate this model and nothing else.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/cstring.h"
#include "ui/win_defs.h"

namespace ui {

class Control;
class DialogWindow;

enum class AccessibleRole {
    Dialog,
    Alert,
    PushButton,
    CheckBox,
    RadioButton,
    ComboBox,
    Entry,  // a one-line edit
    Text,   // a multi-line edit
    Slider,
    Label,
    Panel,  // a group box
    Icon,
};

// States as bits of one set.
enum AccessibleState : std::uint32_t {
    kStateEnabled = 1u << 0,  // usable (sensitive)
    kStateVisible = 1u << 1,
    kStateShowing = 1u << 2,  // visible in a window that is shown
    kStateFocusable = 1u << 3,
    kStateFocused = 1u << 4,
    kStateCheckable = 1u << 5,
    kStateChecked = 1u << 6,
    kStateEditable = 1u << 7,
    kStateReadOnly = 1u << 8,
    kStateSingleLine = 1u << 9,
    kStateMultiLine = 1u << 10,
    kStateDefault = 1u << 11,  // the button that Enter presses
    kStateActive = 1u << 12,   // the window that takes the keyboard
    kStateModal = 1u << 13,
    kStateSelectable = 1u << 14,
    kStateExpandable = 1u << 15,
};

struct AccessibleNode {
    AccessibleRole role = AccessibleRole::Label;
    CString name;
    std::uint32_t states = 0;
    int index = -1;  // the control's place in its template; -1 for the window

    // The value interface (sliders).
    bool hasValue = false;
    int value = 0, minimum = 0, maximum = 0, step = 0;

    // The text interface (edits and labels): the caret and the selection as UTF-16 offsets.
    bool hasText = false;
    CString text;
    int caret = -1;
    int selectionStart = 0, selectionEnd = 0;

    // The actions, by name ("press", "click"), in the order they are done by number.
    std::vector<const char*> actions;

    // The selection interface (the combo box's list): its rows and the chosen one (-1: none).
    bool hasRows = false;
    std::vector<CString> rows;
    int selectedRow = -1;

    // Relations, as template indexes of the other controls.
    int labelledBy = -1;
    int labelFor = -1;
    std::vector<int> memberOf;  // the radio group, this button included

    bool Has(AccessibleState state) const { return (states & state) != 0; }
};

// The name a control's text gives: "&&" shows one ampersand, a single "&" marks the access key and
// is dropped, unless the text is shown as written (SS_NOPREFIX).
CString AccessibleText(const CString& text, bool noPrefix = false);

// The model of one control, of a dialog window, and of a message box (an alert with its text as a
// label and one push button per answer).
AccessibleNode DescribeControl(const Control& control);
AccessibleNode DescribeWindow(const DialogWindow& window);

struct AccessibleAlert {
    AccessibleNode window;                 // role Alert, named by the caption
    std::vector<AccessibleNode> children;  // the text, then the buttons
};
AccessibleAlert DescribeMessageBox(const CString& text, const CString& caption, UINT type);

// What an assistive technology may do, with the effects the same input from the user has: an
// action as a click, a row chosen as with the keyboard, a slider moved as with the mouse. Each
// returns false when the control does not take it now (hidden, disabled, out of range).
bool DoAccessibleAction(Control& control, int action);
bool SelectAccessibleRow(Control& control, int row);
bool SetAccessibleValue(Control& control, int value);
bool GrabAccessibleFocus(Control& control);

}  // namespace ui
