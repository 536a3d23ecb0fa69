// The screen saver's command-line grammar, as the system's screen-saver host
// writes the tail after the program name: a switch letter behind any mix of
// blanks, hyphens and slashes, and for some switches a window handle in
// decimal. Pure text work, shared by every host.
#pragma once

#include "platform/wintypes.h"

enum class RunMode {
    ConfigureUnowned,  // an empty tail: the about box with no owner
    Configure,         // "c": owned by the handle after ':', else by the foreground window
    FullScreen,        // "s"
    Preview,           // "p" or "l": inside the host window that the handle names
    ChangePassword,    // "a": the system's password change (Windows 95/98 family only)
    None,              // anything else selects no mode
};

struct RunRequest {
    RunMode mode;
    // The window the mode names, 0 when the tail names none.
    DWORD handle;
};

RunRequest ParseCommandTail(LPCSTR tail);

// Leading decimal digits as an unsigned 32-bit number, wrapping modulo 2^32.
DWORD ParseHandle(LPCSTR text);
