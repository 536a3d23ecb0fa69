// SIGTERM, SIGINT and SIGHUP end the Linux saver in order. They stay blocked
// except while the saver waits for its next frame or event, so that one that
// arrives at any other moment is taken at the next wait instead of
// interrupting the display server's library or OpenGL halfway. Once the
// saver has ended in order, the process dies by the signal, as Unix programs
// do, so that whoever started it sees what ended it.
#pragma once

#include <signal.h>

// Installs the handler and blocks the signals; returns the mask to wait with,
// under which they get through.
sigset_t BlockStopSignals();

// Whether one of them has arrived.
bool StopRequested();

// After the orderly end: when one of them has arrived, dies by it with its
// default action; otherwise returns.
void DieByStopSignal();
