// The Linux program's command line (the Windows grammar read through the
// joined arguments, the X11 daemons' options beside it), the display server
// it and the environment choose.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "platform/linux/command_options.h"
#include "platform/linux/host_choice.h"

namespace {
using Action = CommandOptions::Action;
using Target = CommandOptions::Target;
constexpr Target OWN = Target::OwnWindow, HOST = Target::HostWindow;
constexpr unsigned long NO_WINDOW = 0;
constexpr bool FROM_TAIL = true, FPS = true;
constexpr Action SAVE = Action::Save, ABOUT = Action::About;
constexpr int CAP = DEFAULT_MAX_FPS;
constexpr Target TOP = Target::TopLevel;
const WindowGeometry SIZED = {.width = 300, .height = 200};
const WindowGeometry PLACED = {
    .width = 640, .height = 480, .positioned = true, .x = 10, .y = 20, .from_bottom = true};
const WindowGeometry AT_RIGHT = {
    .width = 30, .height = 20, .positioned = true, .y = 5, .from_right = true};

auto Fields(const WindowGeometry& g)
{
    return std::tie(g.width, g.height, g.positioned, g.x, g.y, g.from_right, g.from_bottom);
}

// `line` split at blanks, as the shell hands it over.
CommandOptions Parse(const char* line, const char* xscreensaver_window)
{
    std::istringstream words(line);
    std::vector<std::string> arguments;
    for (std::string word; words >> word;) arguments.push_back(word);
    return ParseCommandOptions(arguments, xscreensaver_window);
}

// What a command line asks for. A window named by the screen saver's own
// grammar (from its tail) keeps its Windows meaning; drawing options alone
// run full screen.
struct AcceptedRow {
    const char* name;
    const char* arguments;
    Action action;
    Target target;
    unsigned long window;
    bool from_tail;
    bool show_fps;
    int max_fps;
    WindowGeometry geometry = {};
    const char* daemon_window = nullptr;  // $XSCREENSAVER_WINDOW
};

const AcceptedRow ACCEPTED_ROWS[] = {
    {"nothing", "", ABOUT, OWN, NO_WINDOW, false, false, CAP},
    // One letter after a dash stays the screen saver's switch.
    {"dashed_about", "-c:5", ABOUT, OWN, 5, FROM_TAIL, false, CAP},
    {"dashed_preview", "-p77", SAVE, HOST, 77, FROM_TAIL, false, CAP},
    {"help_first", "--help /s", Action::Help, OWN, NO_WINDOW, false, false, CAP},
    {"root_window", "-root", SAVE, Target::RootWindow, NO_WINDOW, false, false, CAP, {}, ""},
    {"window_id_in_hex", "-window-id 0x1C00003", SAVE, HOST, 0x1c00003, false, false, CAP},
    // A settings tool's preview appends --window-id to the daemon's --root.
    {"settings_tool", "--root --window-id=0x4E5", SAVE, HOST, 0x4e5, false, false, CAP, {}, "0x99"},
    {"fps_alone", "--fps", SAVE, OWN, NO_WINDOW, false, FPS, CAP},
    {"fps_undone", "-fps -no-fps", SAVE, OWN, NO_WINDOW, false, false, CAP},
    {"highest_cap", "--max-fps=1000", SAVE, OWN, NO_WINDOW, false, false, 1000},
    {"rate_of_a_preview", "/p 55 -fps --max-fps 30", SAVE, HOST, 55, FROM_TAIL, FPS, 30},
    {"delay", "-delay 20000", SAVE, OWN, NO_WINDOW, false, false, 50},
    {"no_delay", "-delay 0", SAVE, OWN, NO_WINDOW, false, false, 0},
    {"shortest_delay", "-delay 1", SAVE, OWN, NO_WINDOW, false, false, 1000},
    // X programs' geometry: '=' before it, 'X' for 'x', '-' counting from the far edges.
    {"sized", "-window -geometry =300X200", SAVE, TOP, NO_WINDOW, false, false, CAP, SIZED},
    {"placed", "-window -geometry 640x480+10-20", SAVE, TOP, NO_WINDOW, false, false, CAP, PLACED},
    {"at_right", "-window -geometry 30x20-0+5", SAVE, TOP, NO_WINDOW, false, false, CAP, AT_RIGHT},
};

TEST(CommandOptions, AsksForWhatTheLineSays)
{
    for (const AcceptedRow& row : ACCEPTED_ROWS) {
        SCOPED_TRACE(row.name);
        const CommandOptions options = Parse(row.arguments, row.daemon_window);
        EXPECT_EQ(options.action, row.action) << options.message;
        EXPECT_EQ(options.target, row.target);
        EXPECT_EQ(options.window, row.window);
        EXPECT_EQ(options.window_from_tail, row.from_tail);
        EXPECT_EQ(options.show_fps, row.show_fps);
        EXPECT_EQ(options.max_fps, row.max_fps);
        EXPECT_EQ(Fields(options.geometry), Fields(row.geometry));
    }
}

struct RefusalRow {
    const char* name;
    const char* arguments;
    const char* message;  // a piece of it
    const char* daemon_window = nullptr;
};

const char NO_WINDOW_ID[] = "--window-id wants an X window id";

const RefusalRow REFUSAL_ROWS[] = {
    {"password_change", "/a 12", "password change (/a)"},
    // The Windows grammar is decimal.
    {"hex_preview", "/p 0x1a", "\"/p 0x1a\" names no window"},
    {"missing_value", "--window-id", "--window-id needs a value"},
    {"id_not_a_number", "--window-id 12abc", "not \"12abc\""},
    {"id_zero", "--window-id 0", NO_WINDOW_ID},
    {"id_beyond_29_bits", "--window-id 0x20000000", NO_WINDOW_ID},
    {"cap_too_high", "--max-fps 1001", "from 0 to 1000,"},
    {"delay_too_long", "-delay 1000001", "from 0 to 1000000,"},
    {"flag_with_value", "--fps=1", "--fps takes no value"},
    {"bad_daemon_window", "--root", "XSCREENSAVER_WINDOW holds \"0xzz\"", "0xzz"},
    {"root_and_tail", "--root /s", "\"/s\" cannot go with"},
    {"window_and_root", "-window --root", "--window cannot go with"},
    {"lone_geometry", "-geometry 640x480", "--geometry goes with --window"},
    {"no_height", "-window -geometry 640x", "--geometry wants"},
    {"one_offset", "-window -geometry 640x480+10", "--geometry wants"},
    {"zero_width", "-window -geometry 0x480", "--geometry wants"},
    {"trailing_text", "-window -geometry 640x480+1+2px", "--geometry wants"},
    // After a dash a word is an option, never a switch read by its first letter.
    {"unknown_word", "-sync=1", "unknown option -sync"},
    {"both_hosts", "--wayland --x11", "exclude each other"},
    {"empty_output", "--output=", "the name of an output"},
};

TEST(CommandOptions, RefusesSayingWhy)
{
    for (const RefusalRow& row : REFUSAL_ROWS) {
        SCOPED_TRACE(row.name);
        const CommandOptions options = Parse(row.arguments, row.daemon_window);
        EXPECT_EQ(options.action, Action::Refuse);
        EXPECT_THAT(options.message, testing::HasSubstr(row.message));
    }
}

constexpr DisplayHost WAYLAND = DisplayHost::Wayland, X11 = DisplayHost::X11;
const char SESSION[] = "wayland-1", DAEMON_WINDOW[] = "0x400001";
const char IN_X_WINDOW[] = "--wayland cannot draw in an X window";

// A window of X's, named on the line or by a daemon, keeps the run on X11.
struct ChoiceRow {
    const char* name;
    const char* arguments;
    const char* wayland_display;  // $WAYLAND_DISPLAY
    const char* daemon_window;    // $XSCREENSAVER_WINDOW
    DisplayHost host;
    const char* refusal;  // a piece of it; empty when the run goes ahead
};

const ChoiceRow CHOICE_ROWS[] = {
    {"wayland_when_set", "/s", SESSION, nullptr, WAYLAND, ""},
    {"x11_when_unset", "/s", nullptr, nullptr, X11, ""},
    {"x11_when_empty", "/s", "", nullptr, X11, ""},
    {"root_means_x11", "--root", SESSION, nullptr, X11, ""},
    {"own_window_means_x11", "-window", SESSION, nullptr, X11, ""},
    {"daemon_window_means_x11", "/s", SESSION, DAEMON_WINDOW, X11, ""},
    {"forced_wayland", "--wayland", nullptr, nullptr, WAYLAND, ""},
    {"forced_x11", "--x11 /s", SESSION, nullptr, X11, ""},
    {"wayland_in_own_window", "--wayland -window", SESSION, nullptr, X11, IN_X_WINDOW},
    {"wayland_under_daemon", "--wayland", SESSION, DAEMON_WINDOW, X11, IN_X_WINDOW},
    {"output_on_x11", "--output DP-2", nullptr, nullptr, X11, "this run is on X11"},
};

TEST(HostChoice, FollowsTheOptionsAndTheEnvironment)
{
    for (const ChoiceRow& row : CHOICE_ROWS) {
        SCOPED_TRACE(row.name);
        const CommandOptions options = Parse(row.arguments, row.daemon_window);
        ASSERT_EQ(options.action, Action::Save) << options.message;
        const HostChoice choice = ChooseHost(options, row.wayland_display, row.daemon_window);
        EXPECT_EQ(choice.host, row.host);
        if (*row.refusal == '\0')
            EXPECT_EQ(choice.refusal, "");
        else
            EXPECT_THAT(choice.refusal, testing::HasSubstr(row.refusal));
    }
}

}  // namespace
