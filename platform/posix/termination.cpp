// Termination signals on POSIX systems: the handler only sets a flag and writes one byte to a pipe
// (the self-pipe), both safe in a signal handler; everything else happens on the GUI thread.
#include "platform/termination.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace platform {
namespace {

std::atomic<bool> g_requested{false};
static_assert(std::atomic<bool>::is_always_lock_free);
int g_pipe[2] = {-1, -1};

extern "C" void NoteTermination(int) {
    const int saved = errno;
    g_requested.store(true);
    if (g_pipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t ignored = ::write(g_pipe[1], &byte, 1);  // full: one wake
    }
    errno = saved;
}

}  // namespace

int CatchTerminationSignals() {
    if (g_pipe[0] < 0 && ::pipe(g_pipe) == 0) {
        for (const int fd : g_pipe) {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
    }
    struct sigaction action {};
    action.sa_handler = NoteTermination;
    sigemptyset(&action.sa_mask);
    // Restarted calls: a signal that lands on the timer or audio thread leaves them be.
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
    return g_pipe[0];
}

bool TerminationRequested() {
    if (g_pipe[0] >= 0) {
        char drained[64];
        while (::read(g_pipe[0], drained, sizeof drained) > 0) {
        }
    }
    return g_requested.load();
}

}  // namespace platform
