// The X11 host's one connection to the X server, opened from $DISPLAY on
// first use. Its error handler records errors instead of ending the process:
// windows of other programs (a preview host, a handle on the command line)
// may vanish at any moment, and asking about them must not be fatal.
#pragma once

#include <X11/Xlib.h>

#include "platform/wintypes.h"

// Null when no X server can be reached.
Display* X11Display();

// Counts the X errors raised while it lives (it waits for the server's
// answers before judging).
class X11ErrorTrap {
public:
    explicit X11ErrorTrap(Display* display);
    bool Failed();

private:
    Display* display_;
    unsigned long errors_before_;
};

// Whether `window` names a window on the display now.
bool WindowExists(Display* display, Window window);

// The warning sound: the X bell, or the terminal's where no X server answers.
BOOL WINAPI MessageBeepX11(UINT type);
