// The Linux program's command line (the Windows grammar read through the
// joined arguments, the X11 daemons' options beside it) and the frame pace.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/linux/command_options.h"
#include "platform/linux/frame_pace.h"

// One line for what a parse asks the program to do.
static std::string Describe(const CommandOptions& o)
{
    using A = CommandOptions::Action;
    using T = CommandOptions::Target;
    if (o.action == A::Refuse) return "refuse " + o.message;
    if (o.action == A::Help || o.action == A::Version)
        return o.action == A::Help ? "help" : "version";
    std::string s = o.action == A::About        ? "about"
                    : o.target == T::OwnWindow  ? "full"
                    : o.target == T::RootWindow ? "root"
                    : o.target == T::TopLevel   ? "window"
                                                : "host";
    const WindowGeometry& g = o.geometry;
    if (o.target == T::TopLevel && g.width != 0)
        s += " " + std::to_string(g.width) + "x" + std::to_string(g.height);
    if (o.target == T::TopLevel && g.positioned)
        s += (g.from_right ? "-" : "+") + std::to_string(g.x) + (g.from_bottom ? "-" : "+") +
             std::to_string(g.y);
    if (o.window != 0) s += " " + std::to_string(o.window);
    if (o.window_from_tail) s += " tail";
    if (o.action == A::Save && o.show_fps) s += " fps";
    if (o.action == A::Save && o.max_fps != DEFAULT_MAX_FPS)
        s += " cap" + std::to_string(o.max_fps);
    return s;
}

TEST(CommandOptionsTest, Table)
{
    const struct {
        const char* arguments;    // split at blanks
        const char* environment;  // $XSCREENSAVER_WINDOW
        const char* expected;     // Describe(), or "refuse " and a piece of the message
    } cases[] = {
        {"", nullptr, "about"},
        {"/P1234", nullptr, "host 1234 tail"},
        {"/l 4294967297", nullptr, "host 1 tail"},
        {"/c:77", nullptr, "about 77 tail"},
        {"-root", "", "root"},
        {"--root", "0x2a00007", "host 44040199"},
        {"-window-id 0x1C00003 -fps", nullptr, "host 29360131 fps"},
        {"--window-id=123 --max-fps 0", "0x99", "host 123 cap0"},
        {"/p 55 --fps --max-fps=30", nullptr, "host 55 tail fps cap30"},
        {"--fps", nullptr, "full fps"},
        {"--max-fps 1000", nullptr, "full cap1000"},
        {"--root --window-id 0x400EE5", "0x99", "host 4198117"},  // a settings tool's preview
        {"--help /s", nullptr, "help"},
        {"/s -version", nullptr, "version"},
        {"/a 12", nullptr, "refuse the password change (/a)"},
        {"/x", nullptr, "refuse \"/x\""},
        {"/p 0x1a", nullptr, "refuse \"/p 0x1a\""},  // the Windows grammar is decimal
        {"--window-id", nullptr, "refuse --window-id needs a value"},
        {"--window-id 12abc", nullptr,
         "refuse --window-id wants an X window id, decimal or 0x hexadecimal, not \"12abc\""},
        {"--window-id 0x", nullptr, "refuse --window-id wants"},
        {"--window-id 0", nullptr, "refuse --window-id wants"},
        {"--window-id 0x20000000", nullptr, "refuse --window-id wants"},  // beyond 29 bits
        {"--window-id 99999999999999999999999", nullptr, "refuse --window-id wants"},
        {"--max-fps 1001", nullptr,
         "refuse --max-fps wants a whole number from 0 to 1000, not \"1001\""},
        {"--fps=1", nullptr, "refuse --fps takes no value"},
        {"--root", "0xzz", "refuse XSCREENSAVER_WINDOW holds \"0xzz\""},
        {"--root /s", nullptr, "refuse \"/s\" cannot go with"},
        // After a dash a word is an option, never a switch read by its first letter.
        {"-sync", nullptr, "refuse unknown option -sync"},
        {"-speed 2", nullptr, "refuse unknown option -speed"},
        {"-count 5", nullptr, "refuse unknown option -count"},
        {"--sync=1", nullptr, "refuse unknown option --sync"},
        {"-s", nullptr, "full"},
        {"-c:5", nullptr, "about 5 tail"},
        {"-P1234", nullptr, "host 1234 tail"},
        {"/sync", nullptr, "full"},
        {"-window", nullptr, "window"},
        {"-window -geometry 640x480+10-20", nullptr, "window 640x480+10-20"},
        {"--window --geometry==300X200", nullptr, "window 300x200"},
        {"-window -geometry 300x200-0+5 -fps", nullptr, "window 300x200-0+5 fps"},
        {"-geometry 640x480", nullptr, "refuse --geometry goes with --window"},
        {"-window -geometry 0x480", nullptr, "refuse --geometry wants"},
        {"-window -geometry 640x480+10", nullptr, "refuse --geometry wants"},
        {"-window -geometry 640x", nullptr, "refuse --geometry wants"},
        {"-window -geometry 123456x2", nullptr, "refuse --geometry wants"},
        {"-window --root", nullptr, "refuse --window cannot go with"},
        {"-window /s", nullptr, "refuse \"/s\" cannot go with"},
        {"-delay 20000", nullptr, "full cap50"},
        {"-delay 0", nullptr, "full cap0"},
        {"-delay 1", nullptr, "full cap1000"},
        {"-delay 1000000", nullptr, "full cap1"},
        {"-delay 1000001", nullptr, "refuse --delay wants microseconds from 0 to 1000000"},
        {"-fps -no-fps", nullptr, "full"},
    };
    for (const auto& c : cases) {
        std::istringstream words(c.arguments);
        std::vector<std::string> arguments;
        for (std::string word; words >> word;) arguments.push_back(word);
        const std::string got = Describe(ParseCommandOptions(arguments, c.environment));
        const std::string want = c.expected;
        if (want.rfind("refuse ", 0) == 0)
            EXPECT_EQ(got.rfind(want, 0), 0u) << c.arguments << " gave " << got;
        else
            EXPECT_EQ(got, want) << c.arguments;
    }
}

TEST(FramePaceTest, WaitsOutThePeriodAndStartsAfreshWhenLate)
{
    constexpr int64_t MS = 1'000'000;
    FramePace pace(50), uncapped(0);  // 20 ms a frame; no cap
    // Frame ends, then the wait that follows each: 5 ms into the second period waits 15 ms; a frame
    // 80 ms late starts the count afresh rather than letting the next ones rush to catch up.
    const int64_t ends[] = {1000, 1005, 1100, 1101}, waits[] = {0, 15, 0, 19};
    for (int i = 0; i < 4; ++i) {
        pace.FrameDone(ends[i] * MS);
        uncapped.FrameDone(ends[i] * MS);
        EXPECT_EQ(pace.TimeToNextFrame(ends[i] * MS).tv_nsec, waits[i] * MS) << i;
        EXPECT_EQ(pace.Waiting(ends[i] * MS), waits[i] > 0) << i;
        EXPECT_FALSE(uncapped.Waiting(ends[i] * MS));
    }
    EXPECT_FALSE(pace.Waiting(1120 * MS));
}
