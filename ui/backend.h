// What a toolkit backend provides: a native view for each dialog, the modal loop, message boxes.
// Control state and behaviour live in the framework (window.h); a backend draws that state and
// forwards the user's input to it.
#pragma once

#include <memory>

#include "base/cstring.h"
#include "ui/win_defs.h"

namespace ui {

class EditControl;
class DialogWindow;

class WindowView {
  public:
    virtual ~WindowView() = default;
    virtual void Show(bool visible) = 0;
    // Something of control `index` changed; -1 stands for the window itself (caption, icons,
    // minimised state, enabled state).
    virtual void Update(int index) = 0;
    // The client area's size in pixels.
    virtual RECT ClientRect() const = 0;
};

class Backend {
  public:
    virtual ~Backend() = default;
    virtual std::unique_ptr<WindowView> CreateView(DialogWindow& window) = 0;
    // Runs until window.ModalEnded(); dispatches posted messages (DispatchPostedMessages) and
    // pending paints (DialogWindow::PaintPending) whenever it is idle.
    virtual void RunModalLoop(DialogWindow& window) = 0;
    // A modal message box; owner may be null. Returns IDOK for the OK button.
    virtual int MessageBox(DialogWindow* owner, const CString& text, const CString& caption,
                           UINT type) = 0;
    // Answers the innermost message box that is open as its button for `result` would (a screen
    // reader's press); false when none is open or it has no such button.
    virtual bool AnswerMessageBox(int /*result*/) { return false; }
    // Size of a large icon in pixels (SM_CXICON, SM_CYICON).
    virtual int IconSize() const { return 32; }

    // The clipboard, and with `primary` the X selection that a middle click pastes. Without a
    // desktop both live in memory here.
    virtual void CopyText(const CString& text, bool primary);
    virtual bool ClipboardHasText() const { return !clipboard_.IsEmpty(); }
    // Hands the text to `into.UserPaste`, at once or when the desktop delivers it.
    virtual void PasteInto(EditControl& into, bool primary);

  protected:
    CString clipboard_, primary_;
};

void InstallBackend(Backend* backend);
Backend* CurrentBackend();

}  // namespace ui
