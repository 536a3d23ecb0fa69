// The command line and the environment choosing the display server: one
// program, one command line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "platform/linux/host_choice.h"

namespace {
constexpr DisplayHost WAYLAND = DisplayHost::Wayland, X11 = DisplayHost::X11;
const char SESSION[] = "wayland-1", DAEMON_WINDOW[] = "0x400001";
const char IN_X_WINDOW[] = "--wayland cannot draw in an X window";
const char OUTPUT_ON_X11[] = "this run is on X11";

struct ChoiceRow {
    const char* name;
    const char* arguments;            // split at blanks
    const char* wayland_display;      // $WAYLAND_DISPLAY
    const char* xscreensaver_window;  // $XSCREENSAVER_WINDOW
    DisplayHost host;
    const char* refusal;  // a piece of it; empty when the run goes ahead
};

const ChoiceRow CHOICE_ROWS[] = {
    {"wayland_when_set", "/s", SESSION, nullptr, WAYLAND, ""},
    {"x11_when_unset", "/s", nullptr, nullptr, X11, ""},
    {"x11_when_empty", "/s", "", nullptr, X11, ""},
    {"root_means_x11", "--root", SESSION, nullptr, X11, ""},
    {"preview_means_x11", "/p 77", SESSION, nullptr, X11, ""},
    {"own_window_means_x11", "-window", SESSION, nullptr, X11, ""},
    {"daemon_window_means_x11", "/s", SESSION, DAEMON_WINDOW, X11, ""},
    {"forced_wayland", "--wayland", nullptr, nullptr, WAYLAND, ""},
    {"forced_twice", "--wayland --wayland", nullptr, nullptr, WAYLAND, ""},
    {"forced_x11", "--x11 /s", SESSION, nullptr, X11, ""},
    {"wayland_in_own_window", "--wayland -window", SESSION, nullptr, X11, IN_X_WINDOW},
    {"wayland_under_daemon", "--wayland", SESSION, DAEMON_WINDOW, X11, IN_X_WINDOW},
    {"output", "--output HDMI-A-1", SESSION, nullptr, WAYLAND, ""},
    {"output_on_x11", "--output DP-2", nullptr, nullptr, X11, OUTPUT_ON_X11},
};

TEST(HostChoice, FollowsTheOptionsAndTheEnvironment)
{
    for (const ChoiceRow& row : CHOICE_ROWS) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> arguments;
        std::istringstream words(row.arguments);
        for (std::string word; words >> word;) arguments.push_back(word);
        const CommandOptions options = ParseCommandOptions(arguments, row.xscreensaver_window);
        ASSERT_EQ(options.action, CommandOptions::Action::Save) << options.message;
        const HostChoice choice = ChooseHost(options, row.wayland_display, row.xscreensaver_window);
        EXPECT_EQ(choice.host, row.host);
        if (*row.refusal == '\0')
            EXPECT_EQ(choice.refusal, "");
        else
            EXPECT_THAT(choice.refusal, testing::HasSubstr(row.refusal));
    }
}
}  // namespace
