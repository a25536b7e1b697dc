// The requests to end the program that come from outside it: a logout (SIGTERM, SIGHUP) or Ctrl+C
// in the terminal (SIGINT). They are only noted; the GUI thread ends the program as Escape does,
// when no handler is running, so a save in progress always finishes first.
#pragma once

namespace platform {

// Installs the catching of the three signals. Returns a descriptor that becomes readable when one
// arrives, for the GUI loop to wait on beside its other input, or -1 when none could be made (the
// request is then noticed at the loop's next wake-up).
int CatchTerminationSignals();

// True once such a signal has arrived; also empties the descriptor above, so that it wakes the
// loop once per signal.
bool TerminationRequested();

}  // namespace platform
