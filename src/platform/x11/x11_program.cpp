#include "platform/x11/x11_program.h"

#include <cstdio>
#include <cstdlib>

#include "platform/x11/gtk_dialogs.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_saver.h"
#include "utility/diagnostics.h"

namespace {
int RunAboutBox(Display* display, const CommandOptions& options)
{
    Window owner = options.window;
    if (display != nullptr && options.owner_or_focus && !WindowExists(display, owner)) {
        int unused = 0;
        XGetInputFocus(display, &owner, &unused);
        if (owner == PointerRoot || owner == None) owner = 0;
    }
    // -1 when no window can be shown, as when Windows cannot make the dialog.
    const int result = ShowAboutBox(owner);
    if (result == -1)
        std::fputs("lumenfall: gtk_init_check failed: the about box cannot be shown\n", stderr);
    return result;
}
}  // namespace

int RunX11Program(const CommandOptions& options)
{
    Diagnostics.MessageBeep = MessageBeepX11;
    Display* display = X11Display();
    // "/p N" keeps the Windows meaning: a handle that names no window selects
    // no mode. A daemon's window that vanishes is the host's end, below.
    if (options.window_from_tail && options.action == CommandOptions::Action::Save &&
        (display == nullptr || !WindowExists(display, options.window))) {
        std::fprintf(stderr, "lumenfall: %lu names no window\n", options.window);
        return NO_RUN_MODE;
    }
    if (options.action == CommandOptions::Action::About) return RunAboutBox(display, options);
    if (display == nullptr) {
        const char* name = std::getenv("DISPLAY");
        const bool unset = name == nullptr || *name == 0;
        std::fprintf(stderr, "lumenfall: XOpenDisplay failed: cannot reach the X server \"%s\"%s\n",
                     name != nullptr ? name : "", unset ? " (DISPLAY is not set)" : "");
        return 1;
    }
    return RunX11Saver(display, options);
}
