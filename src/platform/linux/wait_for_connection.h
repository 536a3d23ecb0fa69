// The Linux saver's one wait: for its display server's connection, up to the
// next frame's time, with the stop signals let in meanwhile.
#pragma once

#include <signal.h>
#include <time.h>

enum class ConnectionState {
    Quiet,   // nothing came before the timeout, or a signal cut the wait short
    Ready,   // the server sent something
    Closed,  // the server hung up or the connection broke
};

// `timeout` null: until something comes.
ConnectionState WaitForConnection(int fd, const timespec* timeout, const sigset_t& wait_mask);
