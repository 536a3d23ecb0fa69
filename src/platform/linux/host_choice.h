// Which display server a saver run draws on: one program, one command line.
// Wayland when $WAYLAND_DISPLAY is set and nothing names an X window, X11
// otherwise; --wayland and --x11 force one. --root, --window-id, a preview's
// window and $XSCREENSAVER_WINDOW always mean X11. The about box is GTK's,
// which finds its display server itself.
#pragma once

#include <string>

#include "platform/linux/command_options.h"

enum class DisplayHost { X11, Wayland };

struct HostChoice {
    DisplayHost host = DisplayHost::X11;
    std::string refusal;  // why the command line cannot be run; empty when it can
};

// The environment's values are null when unset.
HostChoice ChooseHost(const CommandOptions& options, const char* wayland_display,
                      const char* xscreensaver_window);
