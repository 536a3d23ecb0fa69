// The Linux saver on an X server, from the window to the last frame: a window
// of its own covering the screen, or a drawing inside a window that a host
// names; an OpenGL context on it; then frames of the shared scene until the
// user, a signal or the host ends them.
#pragma once

#include <X11/Xlib.h>

#include "platform/linux/command_options.h"

// The process exit code: 0 when the saver ran and ended, 1 when it could not
// start (said on standard error first).
int RunX11Saver(Display* display, const CommandOptions& options);
