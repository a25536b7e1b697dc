// Termination signals are only noted, with a wake-up on the descriptor the GUI loop waits on, so
// that a save in progress is never cut short. In a child process, which keeps the handlers.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>

#include "platform/termination.h"
#include "tests/support/child_process.h"

namespace {

bool Readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) == 1 && (p.revents & POLLIN);
}

TEST(Termination, EachSignalIsNotedAndWakesTheLoopOnce) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const int status = RunInChild([signal] {
            const int fd = platform::CatchTerminationSignals();
            if (fd < 0 || Readable(fd) || platform::TerminationRequested())
                return 1;
            ::raise(signal);  // the process lives on
            ::raise(signal);
            if (!Readable(fd))
                return 2;
            if (!platform::TerminationRequested() || Readable(fd))
                return 3;
            return platform::TerminationRequested() ? 0 : 4;  // it stays noted
        });
        EXPECT_EQ(status, 0) << strsignal(signal);
    }
}

}  // namespace
