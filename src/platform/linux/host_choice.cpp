#include "platform/linux/host_choice.h"

namespace {
bool Set(const char* variable) { return variable != nullptr && *variable != '\0'; }
}  // namespace

HostChoice ChooseHost(const CommandOptions& options, const char* wayland_display,
                      const char* xscreensaver_window)
{
    using Host = CommandOptions::Host;
    if (options.action != CommandOptions::Action::Save) return {};
    // A run in an ordinary window of its own is the X11 host's alone; on a
    // Wayland desktop it goes through Xwayland.
    const bool names_x_window =
        options.target != CommandOptions::Target::OwnWindow || Set(xscreensaver_window);
    if (options.host == Host::Wayland && names_x_window)
        return {.refusal = "--wayland cannot draw in an X window (--root, --window-id, --window, "
                           "/p or $XSCREENSAVER_WINDOW)"};
    const bool wayland = options.host == Host::Wayland ||
                         (options.host == Host::Any && Set(wayland_display) && !names_x_window);
    if (wayland) return {.host = DisplayHost::Wayland, .refusal = ""};
    if (!options.output.empty())
        return {.refusal = "--output names a Wayland output, and this run is on X11"};
    return {.host = DisplayHost::X11, .refusal = ""};
}
