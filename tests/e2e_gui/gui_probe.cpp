// A helper for the end-to-end tests: prints the main dialog's client size as the desktop backend
// lays it out on the current display, asks a window to close as a window manager's close box
// does (WM_DELETE_WINDOW), which xdotool cannot send, or plays a display that never answers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "res/resources.h"
#include "ui/fltk/dialog_font.h"
#include "ui/fltk/dialog_units.h"
#include "ui/fltk/fltk_backend.h"

namespace {

int ExpectedSize() {
    if (!ui::fltk::FltkBackend::OpenDisplay(std::chrono::seconds(10),
                                            [](const char*) { std::_Exit(2); }))
        return 2;
    const ui::DialogTemplate& t = res::MainDialogTemplate();
    const ui::fltk::DialogFont& font = ui::fltk::FontFor(t);
    const ui::fltk::PixelRect client = ui::fltk::ClientSize(t, font.units);
    std::printf("%d %d %d %d\n", client.w, client.h, font.units.x, font.units.y);
    return 0;
}

int RequestClose(const char* windowId) {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 2;
    const Window window = std::strtoul(windowId, nullptr, 0);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XCloseDisplay(display);
    return 0;
}

// Listens on a free TCP port of the loopback, prints the display name that reaches it
// (127.0.0.1:N is port 6000 + N), then takes every connection and never says a word.
int SilentDisplay() {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener, 16) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 2;
    const int port = ntohs(address.sin_port);
    if (port < 6000)
        return 2;
    std::printf("127.0.0.1:%d\n", port - 6000);
    std::fflush(stdout);
    while (true)
        accept(listener, nullptr, nullptr);  // kept open, unanswered, until the end
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "expected-size") == 0)
        return ExpectedSize();
    if (argc == 3 && std::strcmp(argv[1], "close") == 0)
        return RequestClose(argv[2]);
    if (argc == 2 && std::strcmp(argv[1], "silent-display") == 0)
        return SilentDisplay();
    std::fputs("usage: gui_probe expected-size | close WINDOW | silent-display\n", stderr);
    return 2;
}
