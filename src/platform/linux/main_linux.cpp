// The Linux program: arguments -> run mode -> the saver on the Wayland
// compositor or the X server, or the about box. The saver's scene is the
// Windows program's own; the command line keeps the Windows grammar and adds
// the options by which X11 screen-saver daemons start a saver program.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/linux/command_options.h"
#include "platform/linux/host_choice.h"
#include "platform/linux/stop_signals.h"
#include "platform/wayland/wayland_saver.h"
#include "platform/x11/x11_program.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const CommandOptions options =
        ParseCommandOptions(arguments, std::getenv("XSCREENSAVER_WINDOW"));
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
    const HostChoice choice =
        ChooseHost(options, std::getenv("WAYLAND_DISPLAY"), std::getenv("XSCREENSAVER_WINDOW"));
    if (!choice.refusal.empty()) {
        std::fprintf(stderr, "lumenfall: %s (see lumenfall --help)\n", choice.refusal.c_str());
        return NO_RUN_MODE;
    }
    const int exit_code =
        choice.host == DisplayHost::Wayland ? RunWaylandSaver(options) : RunX11Program(options);
    DieByStopSignal();
    return exit_code;
}
