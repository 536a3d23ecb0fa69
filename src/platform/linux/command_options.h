// The Linux program's command line: the screen saver's own grammar (the
// arguments joined into one tail, read exactly as on Windows) and, beside
// it, the options by which X11 screen-saver daemons and their settings tools
// start a saver program. Pure text work: no X connection is needed.
#pragma once

#include <string>
#include <vector>

// The exit code of a command line that selects nothing, as on Windows.
constexpr int NO_RUN_MODE = -1;

// Frame-rate cap when none is asked for.
constexpr int DEFAULT_MAX_FPS = 60;
constexpr int HIGHEST_MAX_FPS = 1000;
// The longest pause between frames that -delay takes, in microseconds.
constexpr unsigned long LONGEST_DELAY_US = 1'000'000;

// An X geometry, "WxH", "WxH+X+Y" or with "-" offsets, which count from the
// right and bottom edges of the screen.
struct WindowGeometry {
    unsigned width = 0, height = 0;  // 0: the program's own choice
    bool positioned = false;
    int x = 0, y = 0;
    bool from_right = false, from_bottom = false;
};

struct CommandOptions {
    enum class Action {
        Save,     // run the saver: full screen, or inside a window
        About,    // the about box
        Help,     // --help: usage on standard output
        Version,  // --version
        Refuse,   // a command line that selects nothing: message, exit -1
    };
    enum class Target {
        OwnWindow,   // full screen, in a window of our own
        HostWindow,  // inside the window `window`
        RootWindow,  // on the root window itself
        TopLevel,    // in an ordinary top-level window of our own, until closed
    };

    Action action = Action::Refuse;
    Target target = Target::OwnWindow;
    // The host window (Target::HostWindow) or the about box's owner; 0: none.
    unsigned long window = 0;
    // The window came from the screen saver's own grammar ("/p N", "/c:N"),
    // where a handle that names no window means what it means on Windows.
    bool window_from_tail = false;
    // The about box falls back to the focused window when `window` is unusable.
    bool owner_or_focus = false;
    WindowGeometry geometry;  // Target::TopLevel
    // --wayland or --x11 asks for that display server; Any lets the
    // environment choose (host_choice.h).
    enum class Host { Any, Wayland, X11 };
    Host host = Host::Any;
    std::string output;  // --output NAME: the Wayland output the scene is drawn on
    bool show_fps = false;
    int max_fps = DEFAULT_MAX_FPS;
    std::string message;  // why a command line is refused
};

// `arguments` are argv[1..]; `xscreensaver_window` is $XSCREENSAVER_WINDOW
// (null when unset).
CommandOptions ParseCommandOptions(const std::vector<std::string>& arguments,
                                   const char* xscreensaver_window);

// "WxH", optionally followed by "+X+Y" (either sign for each offset), with
// a leading "=" allowed, as X programs take -geometry. False for anything
// else, or a size of 0.
bool ParseGeometry(const std::string& text, WindowGeometry* geometry);

// An X window id or a count as X11 saver programs take them: decimal, or
// hexadecimal after "0x"; no sign, blank or trailing text. False when the
// text is no such number or exceeds `largest`.
bool ParseUnsigned(const std::string& text, unsigned long largest, unsigned long* value);

extern const char USAGE_TEXT[];
