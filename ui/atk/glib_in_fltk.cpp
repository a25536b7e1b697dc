// GLib's default main context driven from FLTK's loop, so that the accessibility bridge's D-Bus
// connection is served by the one GUI thread without a loop or a thread of its own.
#include "ui/atk/glib_in_fltk.h"

#include <FL/Fl.H>
#include <glib.h>

#include <map>
#include <vector>

namespace ui::atk {
namespace {

bool g_running = false;
bool g_pumping = false;
std::vector<GPollFD> g_fds(8);
std::map<int, int> g_watched;  // fd -> FLTK's FL_READ / FL_WRITE / FL_EXCEPT bits

void Pump();
void OnFd(FL_SOCKET, void*) {
    Pump();
}
void OnTimeout(void*) {
    Pump();
}
void OnCheck(void*) {
    Pump();
}

int FltkEvents(gushort events) {
    int when = 0;
    if (events & (G_IO_IN | G_IO_PRI | G_IO_HUP))
        when |= FL_READ;
    if (events & G_IO_OUT)
        when |= FL_WRITE;
    if (events & G_IO_ERR)
        when |= FL_EXCEPT;
    return when;
}

// Hands FLTK the descriptors GLib waits on now, and its next timeout.
void Watch(int count, gint timeoutMs) {
    std::map<int, int> wanted;
    for (int i = 0; i < count; ++i)
        wanted[g_fds[static_cast<std::size_t>(i)].fd] |=
            FltkEvents(g_fds[static_cast<std::size_t>(i)].events);
    for (auto it = g_watched.begin(); it != g_watched.end();) {
        auto want = wanted.find(it->first);
        if (want == wanted.end() || want->second != it->second) {
            Fl::remove_fd(it->first);
            it = g_watched.erase(it);
        } else {
            ++it;
        }
    }
    for (const auto& [fd, when] : wanted)
        if (!g_watched.count(fd) && when != 0) {
            Fl::add_fd(fd, when, OnFd);
            g_watched[fd] = when;
        }
    Fl::remove_timeout(OnTimeout);
    if (timeoutMs >= 0)
        Fl::add_timeout(timeoutMs / 1000.0, OnTimeout);
}

void Pump() {
    if (!g_running || g_pumping)
        return;
    GMainContext* context = g_main_context_default();
    if (!g_main_context_acquire(context))
        return;
    g_pumping = true;
    // Dispatches what is ready, a bounded number of rounds, then waits through FLTK.
    for (int round = 0; round < 32; ++round) {
        gint priority = 0;
        g_main_context_prepare(context, &priority);
        gint timeoutMs = -1;
        gint count = 0;
        while ((count = g_main_context_query(context, priority, &timeoutMs, g_fds.data(),
                                             static_cast<gint>(g_fds.size()))) >
               static_cast<gint>(g_fds.size()))
            g_fds.resize(static_cast<std::size_t>(count));
        for (gint i = 0; i < count; ++i)
            g_fds[static_cast<std::size_t>(i)].revents = 0;
        if (count > 0)
            g_poll(g_fds.data(), static_cast<guint>(count), 0);
        if (g_main_context_check(context, priority, g_fds.data(), count)) {
            g_main_context_dispatch(context);
            continue;
        }
        Watch(count, timeoutMs);
        break;
    }
    g_pumping = false;
    g_main_context_release(context);
}

}  // namespace

void StartGlibInFltk() {
    if (g_running)
        return;
    g_running = true;
    Fl::add_check(OnCheck);
    Pump();
}

void StopGlibInFltk() {
    if (!g_running)
        return;
    g_running = false;
    Fl::remove_check(OnCheck);
    Fl::remove_timeout(OnTimeout);
    for (const auto& watched : g_watched)
        Fl::remove_fd(watched.first);
    g_watched.clear();
}

}  // namespace ui::atk
