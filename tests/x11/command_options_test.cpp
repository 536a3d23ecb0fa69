// The Linux program's command line (the Windows grammar read through the
// joined arguments, the X11 daemons' options beside it) and the frame pace.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "platform/linux/command_options.h"
#include "platform/linux/frame_pace.h"

namespace {
using Action = CommandOptions::Action;
using Target = CommandOptions::Target;
constexpr Target OWN = Target::OwnWindow, HOST = Target::HostWindow;
constexpr unsigned long NO_WINDOW = 0;
constexpr bool FROM_TAIL = true, FPS = true;

// `line` split at blanks, as the shell hands it over.
CommandOptions Parse(const char* line, const char* xscreensaver_window = nullptr)
{
    std::istringstream words(line);
    std::vector<std::string> arguments;
    for (std::string word; words >> word;) arguments.push_back(word);
    return ParseCommandOptions(arguments, xscreensaver_window);
}

// Where a saving run draws. A window named by the screen saver's own grammar
// (from its tail) means what it means on Windows.
struct TargetRow {
    const char* name;
    const char* arguments;
    const char* xscreensaver_window;
    Target target;
    unsigned long window;
    bool from_tail;
};

const TargetRow TARGET_ROWS[] = {
    {"root_window", "-root", "", Target::RootWindow, NO_WINDOW, false},
    {"daemon_window", "--root", "0x2a00007", HOST, 0x2a00007, false},
    {"window_id_in_hex", "-window-id 0x1C00003", nullptr, HOST, 0x1c00003, false},
    {"window_id_over_daemon", "--window-id=123", "0x99", HOST, 123, false},
    // A settings tool's preview appends --window-id to the daemon's --root.
    {"settings_preview", "--root --window-id 0x400EE5", "0x99", HOST, 0x400ee5, false},
    // One letter after a dash stays the screen saver's switch.
    {"dashed_switch", "-s", nullptr, OWN, NO_WINDOW, false},
    {"dashed_preview", "-p77", nullptr, HOST, 77, FROM_TAIL},
    {"top_level", "-window", nullptr, Target::TopLevel, NO_WINDOW, false},
};

TEST(CommandOptions, SavesInTheWindowAsked)
{
    for (const TargetRow& row : TARGET_ROWS) {
        SCOPED_TRACE(row.name);
        const CommandOptions options = Parse(row.arguments, row.xscreensaver_window);
        EXPECT_EQ(options.action, Action::Save) << options.message;
        EXPECT_EQ(options.target, row.target);
        EXPECT_EQ(options.window, row.window);
        EXPECT_EQ(options.window_from_tail, row.from_tail);
    }
}

struct ActionRow {
    const char* name;
    const char* arguments;
    Action action;
    unsigned long window;
    bool owner_or_focus;  // the about box falls back to the focused window
};

const ActionRow ACTION_ROWS[] = {
    {"nothing", "", Action::About, NO_WINDOW, false},
    {"dashed_about", "-c:5", Action::About, 5, true},
    {"help_first", "--help /s", Action::Help, NO_WINDOW, false},
    {"version_last", "/s -version", Action::Version, NO_WINDOW, false},
};

TEST(CommandOptions, AsksForTheAction)
{
    for (const ActionRow& row : ACTION_ROWS) {
        SCOPED_TRACE(row.name);
        const CommandOptions options = Parse(row.arguments);
        EXPECT_EQ(options.action, row.action);
        EXPECT_EQ(options.window, row.window);
        EXPECT_EQ(options.owner_or_focus, row.owner_or_focus);
    }
}

// The frame-rate text and cap; drawing options alone run full screen.
struct DrawingRow {
    const char* name;
    const char* arguments;
    bool show_fps;
    int max_fps;
};

const DrawingRow DRAWING_ROWS[] = {
    {"fps_alone", "--fps", FPS, DEFAULT_MAX_FPS},
    {"fps_undone", "-fps -no-fps", false, DEFAULT_MAX_FPS},
    {"no_cap", "--max-fps 0", false, 0},
    {"highest_cap", "--max-fps=1000", false, HIGHEST_MAX_FPS},
    {"with_a_preview", "/p 55 -fps --max-fps 30", FPS, 30},
    {"delay", "-delay 20000", false, 50},
    {"no_delay", "-delay 0", false, 0},
    {"shortest_delay", "-delay 1", false, HIGHEST_MAX_FPS},
};

TEST(CommandOptions, DrawsAtTheRateAsked)
{
    for (const DrawingRow& row : DRAWING_ROWS) {
        SCOPED_TRACE(row.name);
        const CommandOptions options = Parse(row.arguments);
        EXPECT_EQ(options.action, Action::Save) << options.message;
        EXPECT_EQ(options.show_fps, row.show_fps);
        EXPECT_EQ(options.max_fps, row.max_fps);
    }
}

struct RefusalRow {
    const char* name;
    const char* arguments;
    const char* xscreensaver_window;
    const char* message;  // a piece of it
};

const char NO_WINDOW_ID[] = "--window-id wants an X window id";

const RefusalRow REFUSAL_ROWS[] = {
    {"password_change", "/a 12", nullptr, "password change (/a)"},
    {"no_run_mode", "/x", nullptr, "\"/x\" selects no run mode"},
    // The Windows grammar is decimal.
    {"hex_preview", "/p 0x1a", nullptr, "\"/p 0x1a\" names no window"},
    {"missing_value", "--window-id", nullptr, "--window-id needs a value"},
    {"id_not_a_number", "--window-id 12abc", nullptr, "not \"12abc\""},
    {"id_zero", "--window-id 0", nullptr, NO_WINDOW_ID},
    {"id_beyond_29_bits", "--window-id 0x20000000", nullptr, NO_WINDOW_ID},
    {"id_overflows", "--window-id 99999999999999999999", nullptr, NO_WINDOW_ID},
    {"cap_too_high", "--max-fps 1001", nullptr, "from 0 to 1000,"},
    {"delay_too_long", "-delay 1000001", nullptr, "from 0 to 1000000,"},
    {"flag_with_value", "--fps=1", nullptr, "--fps takes no value"},
    {"bad_daemon_window", "--root", "0xzz", "XSCREENSAVER_WINDOW holds \"0xzz\""},
    {"root_and_tail", "--root /s", nullptr, "\"/s\" cannot go with"},
    {"window_and_tail", "-window /s", nullptr, "\"/s\" cannot go with"},
    {"window_and_root", "-window --root", nullptr, "--window cannot go with"},
    {"lone_geometry", "-geometry 640x480", nullptr, "--geometry goes with --window"},
    {"bad_geometry", "-window -geometry 640x", nullptr, "--geometry wants"},
    // After a dash a word is an option, never a switch read by its first letter.
    {"unknown_word", "-sync", nullptr, "unknown option -sync"},
    {"unknown_with_value", "--sync=1", nullptr, "unknown option --sync"},
    {"both_hosts", "--wayland --x11", nullptr, "exclude each other"},
    {"empty_output", "--output=", nullptr, "the name of an output"},
};

TEST(CommandOptions, RefusesSayingWhy)
{
    for (const RefusalRow& row : REFUSAL_ROWS) {
        SCOPED_TRACE(row.name);
        const CommandOptions options = Parse(row.arguments, row.xscreensaver_window);
        EXPECT_EQ(options.action, Action::Refuse);
        EXPECT_THAT(options.message, testing::HasSubstr(row.message));
    }
}

TEST(CommandOptions, GeometryAndOutputReachTheRun)
{
    EXPECT_TRUE(Parse("--window --geometry 300x200-0+5").geometry.from_right);
    EXPECT_EQ(Parse("--output DP-2").output, "DP-2");
}

auto Fields(const WindowGeometry& g)
{
    return std::tie(g.width, g.height, g.positioned, g.x, g.y, g.from_right, g.from_bottom);
}

struct GeometryRow {
    const char* name;
    const char* text;
    bool valid;
    WindowGeometry geometry;  // width, height, positioned, x, y, from_right, from_bottom
};

const GeometryRow GEOMETRY_ROWS[] = {
    {"size", "=300X200", true, {300, 200, false, 0, 0, false, false}},
    {"placed", "640x480+10-20", true, {640, 480, true, 10, 20, false, true}},
    {"from_the_right", "30x20-0+5", true, {30, 20, true, 0, 5, true, false}},
    {"one_offset", "640x480+10", false, {}},
    {"no_height", "640x", false, {}},
    {"zero_width", "0x480", false, {}},
    {"trailing_text", "640x480+1+2px", false, {}},
};

TEST(CommandOptions, ReadsGeometryAsXProgramsDo)
{
    for (const GeometryRow& row : GEOMETRY_ROWS) {
        SCOPED_TRACE(row.name);
        WindowGeometry read;
        EXPECT_EQ(ParseGeometry(row.text, &read), row.valid);
        if (!row.valid) continue;
        EXPECT_EQ(Fields(read), Fields(row.geometry));
    }
}

TEST(FramePace, WaitsOutThePeriodAndStartsAfreshWhenLate)
{
    constexpr int64_t MS = 1'000'000;
    constexpr int FIFTY_A_SECOND = 50;  // 20 ms a frame
    const struct {
        int64_t done_ms;
        int64_t wait_ms;
    } frames[] = {
        {1000, 0},
        {1005, 15},
        // 80 ms late: the count starts afresh rather than rushing to catch up.
        {1100, 0},
        {1101, 19},
    };
    FramePace pace(FIFTY_A_SECOND);
    FramePace uncapped(0);
    for (const auto& frame : frames) {
        SCOPED_TRACE(frame.done_ms);
        const int64_t now = frame.done_ms * MS;
        pace.FrameDone(now);
        uncapped.FrameDone(now);
        EXPECT_EQ(pace.TimeToNextFrame(now).tv_nsec, frame.wait_ms * MS);
        EXPECT_EQ(pace.Waiting(now), frame.wait_ms > 0);
        EXPECT_FALSE(uncapped.Waiting(now));
    }
}
}  // namespace
