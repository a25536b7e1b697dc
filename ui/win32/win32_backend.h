// The Windows backend: each framework dialog gets a real dialog made from the same template, with
// real controls whose state mirrors the framework's, and whose notifications become the
// framework's user input.
//  [x] Every control kind as a native control; buttons, lists, edits and sliders report input
//  [x] The dialog manager's keyboard (Tab, Enter, Escape), F1, and radio groups moved by arrows
//  [x] The system menu, minimising with the program's icon, the window icons
//  [x] The system's clipboard, used by the native edits themselves
//  [x] Message boxes of the system
//  [ ] The framework's own edit behaviour (undo, context menu): the native edit's is used
#pragma once

#include "ui/backend.h"

namespace ui::win32 {

class Win32Backend : public Backend {
  public:
    Win32Backend();
    ~Win32Backend() override;
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;

    std::unique_ptr<WindowView> CreateView(DialogWindow& window) override;
    void RunModalLoop(DialogWindow& window) override;
    int MessageBox(DialogWindow* owner, const CString& text, const CString& caption,
                   UINT type) override;
    int IconSize() const override;
};

}  // namespace ui::win32
