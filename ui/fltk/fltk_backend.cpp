// Backend set-up and the modal loop. FLTK's own keyboard navigation and focus boxes are turned
// off: the framework decides where the focus goes and the widgets draw its mark.
#include "ui/fltk/fltk_backend.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/x.H>

#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "ui/edit_control.h"
#include "ui/fltk/caption_text.h"
#include "ui/fltk/desktop_scale.h"
#include "ui/fltk/dialog_view.h"
#include "ui/fltk/font_fallback.h"
#include "ui/fltk/message_box.h"
#include "ui/window.h"

namespace ui::fltk {
namespace {
bool (*g_endRequested)() = nullptr;

// A popup menu runs a loop of its own inside FLTK, which only its own keys and clicks end; the
// window holding the grab (a popup menu, the drop list) gets an Escape, so that the modal loops
// below it see the request.
void EscapeGrabbingPopup() {
    Fl_Window* grab = Fl::grab();
    if (!grab)
        return;
    static char noText[] = "";
    Fl::e_keysym = FL_Escape;
    Fl::e_state = 0;
    Fl::e_text = noText;
    Fl::e_length = 0;
    Fl::handle(FL_KEYBOARD, grab);
}

}  // namespace

void FltkBackend::EndLoopsWhen(bool (*requested)(), int wakeFd) {
    g_endRequested = requested;
    if (wakeFd >= 0)
        Fl::add_fd(
            wakeFd, FL_READ,
            [](FL_SOCKET, void*) {
                if (EndRequested())
                    EscapeGrabbingPopup();
            },
            nullptr);
}

void FltkBackend::WatchFd(int fd, bool read, bool write, void (*ready)(int fd, void* data),
                          void* data) {
    if (fd < 0)
        return;
    Fl::remove_fd(fd);
    if (read)
        Fl::add_fd(fd, FL_READ, ready, data);
    if (write)
        Fl::add_fd(fd, FL_WRITE, ready, data);
}

bool FltkBackend::EndRequested() {
    return g_endRequested && g_endRequested();
}

bool FltkBackend::OpenDisplay(std::chrono::milliseconds patience,
                              void (*noAnswer)(const char* displayName)) {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        return false;
    // Xlib waits for the server's greeting and each first reply without a time limit; a watchman
    // thread speaks up when they do not come.
    std::mutex mutex;
    std::condition_variable answered;
    bool done = false;
    std::thread watchman([&] {
        std::unique_lock lock(mutex);
        if (!answered.wait_for(lock, patience, [&] { return done; }))
            noAnswer(name);
    });
    Display* display = XOpenDisplay(nullptr);
    if (display)
        fl_open_display(display);
    {
        const std::lock_guard lock(mutex);
        done = true;
    }
    answered.notify_one();
    watchman.join();
    return display != nullptr;
}

FltkBackend::FltkBackend() {
    Fl::scheme("gtk+");
    Fl::visible_focus(0);
    Fl::option(Fl::OPTION_VISIBLE_FOCUS, false);
    Fl::scrollbar_size(Scaled(Fl::scrollbar_size()));
    InstallFontFallback();
    InstallBackend(this);
}

FltkBackend::~FltkBackend() {
    InstallBackend(nullptr);
}

std::unique_ptr<WindowView> FltkBackend::CreateView(DialogWindow& window) {
    return std::make_unique<DialogView>(window);
}

void FltkBackend::RunModalLoop(DialogWindow& window) {
    auto* view = dynamic_cast<DialogView*>(window.View());
    if (view)
        view->AfterInput();
    bool escaped = false;
    while (!window.ModalEnded()) {
        // An outside request to end (a logout) closes each open dialog as Escape would, the
        // innermost first, between handlers, so a save in progress has finished.
        if (!escaped && EndRequested()) {
            escaped = true;
            window.KeyDown(VK_ESCAPE, 0);
            if (view)
                view->AfterInput();
            continue;
        }
        Fl::wait(1.0);
        if (view)
            view->AfterInput();
    }
}

int FltkBackend::MessageBox(DialogWindow* owner, const CString& text, const CString& caption,
                            UINT type) {
    auto* view = owner ? dynamic_cast<DialogView*>(owner->View()) : nullptr;
    return RunMessageBox(view ? &view->Frame() : nullptr, text, caption, type);
}

bool FltkBackend::AnswerMessageBox(int result) {
    return ui::fltk::AnswerMessageBox(result);
}

int FltkBackend::IconSize() const {
    return Scaled(32);
}

void FltkBackend::CopyText(const CString& text, bool primary) {
    const std::string shown = EditTextForScreen(text);  // X programs expect "\n" line ends
    Fl::copy(shown.data(), static_cast<int>(shown.size()), primary ? 0 : 1);
}

bool FltkBackend::ClipboardHasText() const {
    return Fl::clipboard_contains(Fl::clipboard_plain_text) != 0;
}

void FltkBackend::PasteInto(EditControl& into, bool primary) {
    // The text arrives as an FL_PASTE event at the edit's widget (EditBox), maybe later.
    if (auto* view = dynamic_cast<DialogView*>(into.Parent().View()))
        Fl::paste(view->WidgetOf(into), primary ? 0 : 1);
}

}  // namespace ui::fltk
