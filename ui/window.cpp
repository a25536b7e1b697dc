// What every window has (text, visibility, enabled state), and the messages posted for later.
#include "ui/window.h"

#include <deque>

namespace ui {
namespace {

struct PostedMessage {
    Window* window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::deque<PostedMessage> g_posted;

}  // namespace

// --- Window ----------------------------------------------------------------------------------

void Window::SetText(const CString& text) {
    text_ = text;
    Changed();
}

void Window::Show(bool visible) {
    if (visible_ == visible)
        return;
    visible_ = visible;
    Changed();
}

void Window::Enable(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    Changed();
}

// --- Posted messages -------------------------------------------------------------------------

void PostMessageTo(Window* window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_posted.push_back({window, message, wParam, lParam});
}

void DispatchPostedMessages() {
    while (!g_posted.empty()) {
        PostedMessage m = g_posted.front();
        g_posted.pop_front();
        m.window->Send(m.message, m.wParam, m.lParam);
    }
}

void ForgetPostedMessages(Window* window) {
    std::erase_if(g_posted, [&](const PostedMessage& m) {
        if (m.window == window)
            return true;
        auto* control = dynamic_cast<Control*>(m.window);
        return control && &control->Parent() == window;
    });
}

}  // namespace ui
