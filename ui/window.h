// The framework's windows: a dialog and its controls, with their state and the behaviour of each
// kind of control (auto radio groups, check boxes, digits-only edits, lists, sliders, keyboard
// navigation). Handles (HWND) point at these objects. Backends draw them and feed them input.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/cstring.h"
#include "ui/backend.h"
#include "ui/dialog_template.h"
#include "ui/win_defs.h"

class CWnd;

namespace ui {

class DialogWindow;

// One entry of an edit control's context menu: the command it sends and whether it applies now.
struct EditMenuEntry {
    UINT command;  // WM_UNDO, WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR, EM_SETSEL (select all); 0 for a
                   // separator
    const char16_t* text;  // "&" marks the access key
    bool enabled;
};

class Window : public HWND__ {
  public:
    virtual ~Window() = default;
    virtual bool IsDialog() const = 0;
    // SendMessage to this window.
    virtual LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    void SetText(const CString& text);
    const CString& Text() const { return text_; }
    void Show(bool visible);
    bool IsVisible() const { return visible_; }
    void Enable(bool enabled);
    bool IsEnabled() const { return enabled_; }
    DWORD Style() const { return style_; }
    int Id() const { return id_; }

  protected:
    virtual void Changed() = 0;
    CString text_;
    DWORD style_ = 0;
    int id_ = -1;
    bool visible_ = true;
    bool enabled_ = true;
};

class Control : public Window {
  public:
    Control(DialogWindow& parent, int index, const ControlTemplate& t);

    bool IsDialog() const override { return false; }
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) override;

    DialogWindow& Parent() const { return parent_; }
    int Index() const { return index_; }
    const ControlTemplate& Template() const { return template_; }
    ControlClass Class() const { return template_.cls; }

    bool IsPushButton() const;
    bool IsDefaultPushButton() const;
    bool IsRadio() const;
    bool IsCheckBox() const;
    bool IsGroupBox() const;
    bool IsMultiLine() const { return Class() == ControlClass::Edit && (style_ & ES_MULTILINE); }
    bool IsReadOnly() const { return Class() == ControlClass::Edit && (style_ & ES_READONLY); }
    bool IsTabStop() const { return (style_ & WS_TABSTOP) != 0; }
    bool StartsGroup() const { return (style_ & WS_GROUP) != 0; }
    // Shown and usable: hidden or disabled controls take no input.
    bool IsUsable() const { return visible_ && enabled_; }

    int Check() const { return check_; }
    const std::vector<CString>& Rows() const { return rows_; }
    int CurSel() const { return curSel_; }
    int RangeMin() const { return rangeMin_; }
    int RangeMax() const { return rangeMax_; }
    int Pos() const { return pos_; }
    int TextLimit() const { return textLimit_; }
    int LineSize() const { return lineSize_; }
    bool NeedsPaint() const { return needsPaint_; }

    // An edit's selection runs from its anchor to the caret, in UTF-16 offsets into Text(); the
    // caret never stands inside a line break.
    int SelStart() const { return std::min(anchor_, caret_); }
    int SelEnd() const { return std::max(anchor_, caret_); }
    int Caret() const { return caret_; }
    CString SelectedText() const;
    bool CanUndo() const { return hasUndo_; }
    std::vector<EditMenuEntry> EditMenu() const;

    // Input as the user gives it; each sends the notifications a user's action sends.
    void UserClick();
    // Presses a push button from the keyboard (Enter): the focus stays where it is.
    void Press();
    void UserSelectRow(int row);
    void UserSetPos(int pos);
    // Replaces the edit's text as typed; refused (returns false) when the edit would not take it.
    bool UserSetText(const CString& text);
    // Types over the selection; '\b' is Backspace, '\r' a line break.
    bool UserTypeChar(char16_t ch);
    bool UserKey(UINT vk, unsigned modifiers);
    // The mouse in an edit: a press (extend: with Shift, or dragging) and a double click.
    void UserPlaceCaret(int offset, bool extend);
    void UserSelectWord(int offset);
    // Text that arrives from the clipboard or the X selection, in place of the selection. The
    // number edit refuses text with anything but digits; text beyond the limit is cut off.
    bool UserPaste(const CString& text);
    // A command of the context menu or its keyboard shortcut (see EditMenuEntry).
    void UserEditCommand(UINT command);
    // The wheel: a list moves its choice a row per notch, a slider its line size (negative
    // notches turn away from the user: up the list, towards the slider's minimum).
    void UserWheel(int notches);

    // Sends the paint-time notification (sliders ask their owner for custom drawing).
    void Paint();

  protected:
    void Changed() override;

  private:
    bool AcceptsText(const std::u16string& text) const;
    bool OverLimit(const std::u16string& text) const;
    bool EditKey(UINT vk, unsigned modifiers);
    // Replaces the selection by `with` as one change with one notification; `typing` lets
    // consecutive typed characters share one undo step.
    bool ReplaceSelection(const std::u16string& with, bool typing = false);
    void Select(int anchor, int caret, bool byUser);
    void Undo();
    void Notify(UINT code);
    void Invalidate() { needsPaint_ = true; }

    DialogWindow& parent_;
    int index_;
    const ControlTemplate& template_;
    int check_ = 0;
    std::vector<CString> rows_;
    int curSel_ = -1;
    int rangeMin_ = 0, rangeMax_ = 100, pos_ = 0;
    int textLimit_ = 32767;            // the standard edit's default
    int lineSize_ = 1, pageSize_ = 0;  // a page of 0 is a fifth of the range
    bool needsPaint_ = true;
    int anchor_ = 0, caret_ = 0;
    CString undoText_;
    int undoAnchor_ = 0, undoCaret_ = 0;
    bool hasUndo_ = false;
    bool typingRun_ = false;  // the last change was typed at the caret
};

struct MenuItem {
    UINT flags;  // MF_STRING or MF_SEPARATOR
    UINT id;
    CString text;  // "&" marks the access key
};

class DialogWindow : public Window {
  public:
    DialogWindow(const DialogTemplate& t, CWnd& object, DialogWindow* owner);
    ~DialogWindow() override;

    bool IsDialog() const override { return true; }
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) override;

    const DialogTemplate& Template() const { return template_; }
    CWnd& Object() const { return object_; }
    DialogWindow* Owner() const { return owner_; }
    std::vector<std::unique_ptr<Control>>& Controls() { return controls_; }
    const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
    Control* FindControl(int id) const;
    Control* FocusedControl() const;
    void SetFocus(Control* control);
    WindowView* View() const { return view_.get(); }
    void AttachView(std::unique_ptr<WindowView> view) { view_ = std::move(view); }
    void DetachView() { view_.reset(); }

    // Radio buttons of the group that holds `control`, in template order.
    std::vector<Control*> RadioGroup(const Control& control) const;
    // The focus order: tab stops in template order, skipping what cannot take the focus.
    std::vector<Control*> TabStops() const;

    bool IsIconic() const { return iconic_; }
    void SetIconic(bool iconic);
    HICON Icon(bool big) const { return big ? bigIcon_ : smallIcon_; }
    HICON SetIcon(HICON icon, bool big);
    bool HasSystemMenu() const { return (style_ & WS_SYSMENU) != 0; }
    std::vector<MenuItem>& SystemMenu() { return systemMenu_; }

    // Keyboard input to the dialog (Tab, arrows, Space, Enter, Escape, F1, Alt+F4...). Returns
    // false when the key means nothing to the dialog or its focused control.
    bool KeyDown(UINT vk, unsigned modifiers);
    // The close box of the caption.
    void UserClose();
    // A command chosen from the system menu.
    void UserSystemCommand(UINT id);
    // Paints what is pending: the dialog while minimised, sliders that changed.
    void PaintPending();
    void Invalidate() { needsPaint_ = true; }

    // What the last paint drew while minimised (the icon and its place).
    void SetLastPaint(HICON icon, int x, int y);
    HICON PaintedIcon() const { return paintedIcon_; }
    int PaintedIconX() const { return paintedX_; }
    int PaintedIconY() const { return paintedY_; }

    // Modal state.
    void EndModal(int result);
    bool ModalEnded() const { return modalEnded_; }
    int ModalResult() const { return modalResult_; }

    // Called by controls: hands a notification to the dialog object.
    void NotifyFromControl(Control& control, UINT code);

  protected:
    void Changed() override;

  private:
    const DialogTemplate& template_;
    CWnd& object_;
    DialogWindow* owner_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::unique_ptr<WindowView> view_;
    Control* focus_ = nullptr;
    bool iconic_ = false;
    bool needsPaint_ = true;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    std::vector<MenuItem> systemMenu_;
    HICON paintedIcon_ = nullptr;
    int paintedX_ = 0, paintedY_ = 0;
    bool modalEnded_ = false;
    int modalResult_ = 0;
};

// Messages posted for later, handled when the modal loop is idle.
void PostMessageTo(Window* window, UINT message, WPARAM wParam, LPARAM lParam);
// Delivers every posted message, including those posted while delivering.
void DispatchPostedMessages();
// Drops the posted messages of a window that goes away.
void ForgetPostedMessages(Window* window);

// Converts a handle to the framework's window.
inline Window* FromHandle(HWND hwnd) {
    return static_cast<Window*>(hwnd);
}

}  // namespace ui
