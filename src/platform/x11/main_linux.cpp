// The Linux program: arguments -> run mode -> the saver or the about box.
// The saver's scene is the Windows program's own; the command line keeps the
// Windows grammar and adds the options by which X11 screen-saver daemons
// start a saver program.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/x11/command_options.h"
#include "platform/x11/gtk_dialogs.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_saver.h"
#include "utility/diagnostics.h"

namespace {
// What the Windows program ends with when the command line selects no mode.
constexpr int NO_RUN_MODE = -1;

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
    if (result == -1) std::fputs("lumenfall: gtk_init_check failed: the about box cannot be shown\n", stderr);
    return result;
}
}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const CommandOptions options = ParseCommandOptions(arguments, std::getenv("XSCREENSAVER_WINDOW"));
    switch (options.action) {
    case CommandOptions::Action::Help:
        std::fputs(USAGE_TEXT, stdout);
        return 0;
    case CommandOptions::Action::Version:
        std::printf("lumenfall %s\n", LUMENFALL_VERSION);
        return 0;
    case CommandOptions::Action::Refuse:
        std::fprintf(stderr, "lumenfall: %s (see lumenfall --help)\n", options.message.c_str());
        return NO_RUN_MODE;
    case CommandOptions::Action::About:
    case CommandOptions::Action::Save:
        break;
    }

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
        std::fprintf(stderr, "lumenfall: XOpenDisplay failed: cannot reach the X server \"%s\"%s\n",
                     name != nullptr ? name : "", name != nullptr && *name != 0 ? "" : " (DISPLAY is not set)");
        return 1;
    }
    return RunX11Saver(display, options);
}
