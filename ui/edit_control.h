// Edits: text with a selection and a caret, a length limit, digits-only and read-only styles, one
// level of undo, the clipboard and a context menu, as the standard Windows edit has them.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "ui/window.h"

namespace ui {

// One entry of an edit control's context menu: the command it sends and whether it applies now.
struct EditMenuEntry {
    UINT command;  // WM_UNDO, WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR, EM_SETSEL (select all); 0 for a
                   // separator
    const char16_t* text;  // "&" marks the access key
    bool enabled;
};

class EditControl : public Control {
  public:
    static constexpr ControlClass kClass = ControlClass::Edit;
    EditControl(DialogWindow& parent, int index, const ControlTemplate& t)
        : Control(parent, index, t) {}

    bool IsMultiLine() const { return (style_ & ES_MULTILINE) != 0; }
    bool IsReadOnly() const { return (style_ & ES_READONLY) != 0; }
    int TextLimit() const { return textLimit_; }
    // The selection runs from its anchor to the caret, in UTF-16 offsets into Text(); the caret
    // never stands inside a line break.
    int SelStart() const { return std::min(anchor_, caret_); }
    int SelEnd() const { return std::max(anchor_, caret_); }
    int Caret() const { return caret_; }
    CString SelectedText() const;
    bool CanUndo() const { return hasUndo_; }
    std::vector<EditMenuEntry> EditMenu() const;

    // WM_SETTEXT, which cannot be undone, and the EM_ messages.
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Replaces the text as typed; refused (returns false) when the edit would not take it.
    bool UserSetText(const CString& text) override;
    // Types over the selection; '\b' is Backspace, '\r' a line break.
    bool UserTypeChar(char16_t ch) override;
    // The caret keys, and the clipboard and undo keys with Ctrl, Shift or Alt.
    bool UserKey(UINT vk, unsigned modifiers) override;
    // A multi-line edit that wants Enter takes it as a line break.
    bool UserEnter() override;
    // A one-line edit reached by Tab has all its text selected, ready to be typed over.
    void TabbedInto() override;
    // The mouse: a press (extend: with Shift, or dragging) and a double click.
    void UserPlaceCaret(int offset, bool extend);
    void UserSelectWord(int offset);
    // Text that arrives from the clipboard or the X selection, in place of the selection. The
    // number edit refuses text with anything but digits; text beyond the limit is cut off.
    bool UserPaste(const CString& text);
    // A command of the context menu or its keyboard shortcut (see EditMenuEntry).
    void UserEditCommand(UINT command);

  private:
    bool AcceptsText(const std::u16string& text) const;
    bool OverLimit(const std::u16string& text) const;
    // Replaces the selection by `with` as one change with one notification; `typing` lets
    // consecutive typed characters share one undo step.
    bool ReplaceSelection(const std::u16string& with, bool typing = false);
    void Select(int anchor, int caret, bool byUser);
    void Undo();

    int textLimit_ = 32767;  // the standard edit's default
    int anchor_ = 0, caret_ = 0;
    CString undoText_;
    int undoAnchor_ = 0, undoCaret_ = 0;
    bool hasUndo_ = false;
    bool typingRun_ = false;  // the last change was typed at the caret
};

}  // namespace ui
