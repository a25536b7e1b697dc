// The desktop backend on FLTK 1.3 (X11): real windows for the dialogs, FLTK's event loop as the
// modal loop, message boxes of our own, the X clipboard.
//  [x] Every control kind drawn from the framework's state; input handed to the framework
//  [x] The keyboard: Tab order, the dialog's keys, an edit's caret and clipboard keys
//  [x] The desktop's scale and the dialog font's metrics for dialog units
//  [x] The system menu, minimising with the program's icon, the window icons
//  [x] The X clipboard (CLIPBOARD) and selection (PRIMARY), pasting by middle click
//  [x] Ending every modal loop as Escape does on a logout or Ctrl+C (EndLoopsWhen)
//  [x] The platform's descriptors in the loop (WatchFd): the desktop's media remote
//  [x] Media keys (XF86AudioPlay, Stop, Next, Prev) while a window has the focus
//  [ ] Wayland without XWayland
//  [ ] Accessibility (screen readers)
#pragma once

#include <chrono>

#include "ui/backend.h"

namespace ui::fltk {

class FltkBackend : public Backend {
  public:
    // Opens the X display for FLTK; false when there is none to open (no desktop). A display that
    // takes the connection but gives no answer within `patience` makes `noAnswer` run on another
    // thread, with the display's name, while this call still waits: it must end the program.
    static bool OpenDisplay(std::chrono::milliseconds patience,
                            void (*noAnswer)(const char* displayName));

    // Needs OpenDisplay() to have succeeded. Installs itself as the framework's backend.
    FltkBackend();
    ~FltkBackend() override;
    FltkBackend(const FltkBackend&) = delete;
    FltkBackend& operator=(const FltkBackend&) = delete;

    std::unique_ptr<WindowView> CreateView(DialogWindow& window) override;
    void RunModalLoop(DialogWindow& window) override;
    bool AnswerMessageBox(int result) override;
    int MessageBox(DialogWindow* owner, const CString& text, const CString& caption,
                   UINT type) override;
    int IconSize() const override;

    // The X clipboard (CLIPBOARD) and selection (PRIMARY) through FLTK, which serves what the
    // program copied to other programs for as long as it runs.
    void CopyText(const CString& text, bool primary) override;
    bool ClipboardHasText() const override;
    void PasteInto(EditControl& into, bool primary) override;

    // From then on every modal loop ends its dialog as Escape does once `requested` returns true;
    // `wakeFd`, when not -1, becomes readable when it may have turned true, so that the loop
    // notices at once. `requested` is called on the GUI thread only.
    static void EndLoopsWhen(bool (*requested)(), int wakeFd);

    // Calls `ready` on the GUI thread, from every loop (modal ones too), while `fd` is readable
    // (`read`) or writable (`write`). A later call for the same fd replaces what is watched;
    // neither flag stops watching it.
    static void WatchFd(int fd, bool read, bool write, void (*ready)(int fd, void* data),
                        void* data);
    static bool EndRequested();
};

}  // namespace ui::fltk
