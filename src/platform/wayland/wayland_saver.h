// The Linux saver as a Wayland client: the scene full screen on one output
// and every other output black, until the user, a signal or the compositor
// ends it. It never locks the session.
#pragma once

#include "platform/linux/command_options.h"

// The process exit code: 0 when the saver ran and ended, 1 when it could not
// start or the compositor went away (said on standard error first).
int RunWaylandSaver(const CommandOptions& options);
