// The program's process-wide state, back to what a fresh process starts with.
#pragma once

// The click values shared with the timer thread, the tap series, the sample slots and any
// simulated file failures. A new global gets its reset beside its definition and a call here.
void ResetProcessState();
