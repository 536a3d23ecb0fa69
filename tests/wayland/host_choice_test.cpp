// The command line and the environment choosing the display server: one
// program, one command line.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/linux/host_choice.h"

namespace {
struct ChoiceCase {
    const char* name;
    const char* arguments;            // split at blanks
    const char* wayland_display;      // $WAYLAND_DISPLAY
    const char* xscreensaver_window;  // $XSCREENSAVER_WINDOW
    const char* expected;             // "wayland", "x11", "about", or "refuse " and a piece
};

const ChoiceCase CHOICE_CASES[] = {
    {"wayland_when_set", "/s", "wayland-1", nullptr, "wayland"},
    {"x11_when_unset", "/s", nullptr, nullptr, "x11"},
    {"x11_when_empty", "/s", "", nullptr, "x11"},
    {"root_means_x11", "--root", "wayland-1", nullptr, "x11"},
    {"window_id_means_x11", "--window-id 0x400001", "wayland-1", nullptr, "x11"},
    {"preview_means_x11", "/p 77", "wayland-1", nullptr, "x11"},
    {"own_window_means_x11", "-window", "wayland-1", nullptr, "x11"},
    {"wayland_in_own_window", "--wayland -window", "wayland-1", nullptr, "refuse --wayland cannot"},
    {"daemon_window_means_x11", "/s", "wayland-1", "0x400001", "x11"},
    {"forced_wayland_alone", "--wayland", nullptr, nullptr, "wayland"},
    {"forced_x11", "--x11 /s", "wayland-1", nullptr, "x11"},
    {"forced_twice", "--wayland --wayland", nullptr, nullptr, "wayland"},
    {"forced_both", "--wayland --x11", "wayland-1", nullptr, "refuse exclude each other"},
    {"wayland_in_x_window", "--wayland --root", "wayland-1", nullptr, "refuse --wayland cannot"},
    {"wayland_under_daemon", "--wayland", "wayland-1", "0x400001", "refuse --wayland cannot"},
    {"output_alone", "--output HDMI-A-1", "wayland-1", nullptr, "wayland"},
    {"output_joined", "--output=DP-2 --fps", "wayland-1", nullptr, "wayland"},
    {"output_on_x11", "--output DP-2", nullptr, nullptr, "refuse this run is on X11"},
    {"output_with_x11", "--x11 --output DP-2", "wayland-1", nullptr, "refuse this run is on X11"},
    {"output_empty", "--output=", "wayland-1", nullptr, "refuse wants the name"},
    {"output_missing", "--output", "wayland-1", nullptr, "refuse needs a value"},
    {"wayland_takes_no_value", "--wayland=yes", "wayland-1", nullptr, "refuse takes no value"},
    {"about_box_either_way", "/c", "wayland-1", nullptr, "about"},
};

std::string Outcome(const ChoiceCase& row)
{
    std::vector<std::string> arguments;
    std::istringstream words(row.arguments);
    for (std::string word; words >> word;) arguments.push_back(word);
    const CommandOptions options = ParseCommandOptions(arguments, row.xscreensaver_window);
    if (options.action == CommandOptions::Action::Refuse) return "refuse " + options.message;
    if (options.action == CommandOptions::Action::About) return "about";
    const HostChoice choice = ChooseHost(options, row.wayland_display, row.xscreensaver_window);
    if (!choice.refusal.empty()) return "refuse " + choice.refusal;
    return choice.host == DisplayHost::Wayland ? "wayland" : "x11";
}

TEST(HostChoice, FollowsTheOptionsAndTheEnvironment)
{
    for (const ChoiceCase& row : CHOICE_CASES) {
        SCOPED_TRACE(row.name);
        const std::string outcome = Outcome(row);
        const std::string expected = row.expected;
        if (expected.rfind("refuse ", 0) == 0)
            EXPECT_NE(outcome.find(expected.substr(7)), std::string::npos) << outcome;
        else
            EXPECT_EQ(outcome, expected);
    }
}

TEST(HostChoice, OutputNameReachesTheHost)
{
    const CommandOptions options = ParseCommandOptions({"--output", "DP-2", "--fps"}, nullptr);
    EXPECT_EQ(options.output, "DP-2");
    EXPECT_EQ(options.action, CommandOptions::Action::Save);
    EXPECT_TRUE(options.show_fps);
}
}  // namespace
