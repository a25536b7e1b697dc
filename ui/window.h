// The framework's windows: a dialog, keyboard navigation in it, and what all of its controls have
// in common (the kinds are in button_control.h, list_control.h, edit_control.h, slider_control.h
// and static_control.h). Handles (HWND) point at these objects. Backends draw them and feed them
// input.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/cstring.h"
#include "ui/backend.h"
#include "ui/dialog_template.h"
#include "ui/message_target.h"
#include "ui/win_defs.h"

namespace ui {

class AccessibleTracker;
class ButtonControl;
class DialogWindow;

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

// What every control has: its id, style, text, visibility, enabled state, focus and the
// notifications it sends its dialog. Each kind of control (button, list, edit, slider, static) is a
// class of its own that adds its state, its messages and its answer to the user's input;
// Control::Create picks it from the template's control class.
class Control : public Window {
  public:
    static std::unique_ptr<Control> Create(DialogWindow& parent, int index,
                                           const ControlTemplate& t);

    bool IsDialog() const override { return false; }
    // The messages of every control (WM_SETTEXT, WM_GETTEXTLENGTH); each kind adds its own.
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) override;

    DialogWindow& Parent() const { return parent_; }
    int Index() const { return index_; }
    const ControlTemplate& Template() const { return template_; }
    ControlClass Class() const { return template_.cls; }

    bool IsTabStop() const { return (style_ & WS_TABSTOP) != 0; }
    bool StartsGroup() const { return (style_ & WS_GROUP) != 0; }
    // Shown and usable: hidden or disabled controls take no input.
    bool IsUsable() const { return visible_ && enabled_; }
    bool NeedsPaint() const { return needsPaint_; }

    // The kind behind the control: As<Kind>() throws std::logic_error when it is another kind,
    // TryAs<Kind>() gives null.
    template <class Kind>
    Kind* TryAs() {
        return Class() == Kind::kClass ? static_cast<Kind*>(this) : nullptr;
    }
    template <class Kind>
    const Kind* TryAs() const {
        return Class() == Kind::kClass ? static_cast<const Kind*>(this) : nullptr;
    }
    template <class Kind>
    Kind& As() {
        if (Kind* kind = TryAs<Kind>())
            return *kind;
        WrongKind();
    }
    template <class Kind>
    const Kind& As() const {
        if (const Kind* kind = TryAs<Kind>())
            return *kind;
        WrongKind();
    }

    // Input as the user gives it; each sends the notifications a user's action sends. A kind
    // ignores what it does not take (false: the input was not taken).
    // A click: the control takes the focus (a static or a group box does not).
    virtual void UserClick();
    virtual bool UserKey(UINT /*vk*/, unsigned /*modifiers*/) { return false; }
    virtual bool UserTypeChar(char16_t /*ch*/) { return false; }
    // The wheel, in notches (negative: away from the user).
    virtual void UserWheel(int /*notches*/) {}
    // Replaces the text as typed; only an edit takes it.
    virtual bool UserSetText(const CString& /*text*/) { return false; }
    // Enter while the control has the focus; false leaves it to the dialog (default button).
    virtual bool UserEnter() { return false; }
    // The focus arrived by Tab.
    virtual void TabbedInto() {}

    // Paints what changed; a kind that draws through its owner asks for it here.
    virtual void Paint() { needsPaint_ = false; }

  protected:
    Control(DialogWindow& parent, int index, const ControlTemplate& t);
    void Changed() override;
    void Notify(UINT code);
    void Invalidate() { needsPaint_ = true; }
    bool needsPaint_ = true;

  private:
    [[noreturn]] void WrongKind() const;

    DialogWindow& parent_;
    int index_;
    const ControlTemplate& template_;
};

struct MenuItem {
    UINT flags;  // MF_STRING or MF_SEPARATOR
    UINT id;
    CString text;  // "&" marks the access key
};

class DialogWindow : public Window {
  public:
    DialogWindow(const DialogTemplate& t, MessageTarget& object, DialogWindow* owner);
    ~DialogWindow() override;

    bool IsDialog() const override { return true; }
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) override;

    const DialogTemplate& Template() const { return template_; }
    MessageTarget& Object() const { return object_; }
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
    std::vector<ButtonControl*> RadioGroup(const Control& control) const;
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

    // The accessibility listener's view of the window: from its opening to its closing, every
    // change of control `index` (-1: the window) is compared and reported.
    void AccessibleOpened();
    void AccessibleClosing();
    void AccessibleChanged(int index);

  protected:
    void Changed() override;

  private:
    const DialogTemplate& template_;
    MessageTarget& object_;
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
    std::unique_ptr<AccessibleTracker> accessible_;
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
