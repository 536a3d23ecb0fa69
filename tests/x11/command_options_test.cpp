// The Linux program's command line: the Windows grammar read through the
// joined arguments, the X11 daemons' options beside it, and the pace of
// frames under the cap those options set.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/x11/command_options.h"
#include "platform/x11/frame_pace.h"

namespace {
using Action = CommandOptions::Action;
using Target = CommandOptions::Target;

std::vector<std::string> Split(const std::string& line)
{
    std::istringstream words(line);
    std::vector<std::string> arguments;
    for (std::string word; words >> word;) arguments.push_back(word);
    return arguments;
}

struct Case {
    const char* arguments;        // split at blanks
    const char* environment;      // $XSCREENSAVER_WINDOW, null when unset
    Action action;
    Target target;
    unsigned long window;
    bool window_from_tail;
    bool show_fps;
    int max_fps;
};

TEST(CommandOptionsTest, ModesWindowsAndDrawingOptions)
{
    const Case cases[] = {
        // The Windows grammar, unchanged.
        {"", nullptr, Action::About, Target::OwnWindow, 0, false, false, 60},
        {"/s", nullptr, Action::Save, Target::OwnWindow, 0, false, false, 60},
        {"- / -S", nullptr, Action::Save, Target::OwnWindow, 0, false, false, 60},
        {"/s /p 1234", nullptr, Action::Save, Target::OwnWindow, 0, false, false, 60},
        {"/p 1234", nullptr, Action::Save, Target::HostWindow, 1234, true, false, 60},
        {"/P1234", nullptr, Action::Save, Target::HostWindow, 1234, true, false, 60},
        {"/l 4294967297", nullptr, Action::Save, Target::HostWindow, 1, true, false, 60},
        {"/c:77", nullptr, Action::About, Target::OwnWindow, 77, true, false, 60},
        {"/c 77", nullptr, Action::About, Target::OwnWindow, 0, true, false, 60},
        // The daemons' options, with one dash or two, and with "=".
        {"-root", nullptr, Action::Save, Target::RootWindow, 0, false, false, 60},
        {"--root", "0x2a00007", Action::Save, Target::HostWindow, 0x2a00007, false, false, 60},
        {"--root", "44040199", Action::Save, Target::HostWindow, 44040199, false, false, 60},
        {"--root", "", Action::Save, Target::RootWindow, 0, false, false, 60},
        {"-window-id 0x1C00003 -fps", nullptr, Action::Save, Target::HostWindow, 0x1c00003, false, true, 60},
        {"--window-id=123 --max-fps 0", "0x99", Action::Save, Target::HostWindow, 123, false, false, 0},
        {"/p 55 --fps --max-fps=30", nullptr, Action::Save, Target::HostWindow, 55, true, true, 30},
        {"--fps", nullptr, Action::Save, Target::OwnWindow, 0, false, true, 60},
        // As xscreensaver-settings starts a preview: its window wins.
        {"--root --window-id 0x400EE5", "0x99", Action::Save, Target::HostWindow, 0x400ee5, false, false, 60},
        {"--max-fps 1000", nullptr, Action::Save, Target::OwnWindow, 0, false, false, 1000},
        {"--help /s", nullptr, Action::Help, Target::OwnWindow, 0, false, false, 60},
        {"/s -version", nullptr, Action::Version, Target::OwnWindow, 0, false, false, 60},
    };
    for (const Case& c : cases) {
        const CommandOptions options = ParseCommandOptions(Split(c.arguments), c.environment);
        SCOPED_TRACE(std::string("arguments \"") + c.arguments + "\"");
        EXPECT_EQ(options.action, c.action) << options.message;
        if (c.action != Action::Save && c.action != Action::About) continue;
        EXPECT_EQ(options.window, c.window);
        EXPECT_EQ(options.window_from_tail, c.window_from_tail);
        if (c.action != Action::Save) continue;
        EXPECT_EQ(options.target, c.target);
        EXPECT_EQ(options.show_fps, c.show_fps);
        EXPECT_EQ(options.max_fps, c.max_fps);
    }
}

TEST(CommandOptionsTest, RefusedWithAMessageThatNamesTheFault)
{
    const struct {
        const char* arguments;
        const char* environment;
        const char* named;  // a piece of the message
    } cases[] = {
        {"/a 12", nullptr, "/a"},
        {"/x", nullptr, "/x"},
        {"/p", nullptr, "/p"},
        {"/p 0x1a", nullptr, "/p 0x1a"},          // the Windows grammar is decimal
        {"--window-id", nullptr, "needs a value"},
        {"--window-id 12abc", nullptr, "12abc"},  // trailing junk
        {"--window-id 0x", nullptr, "0x"},
        {"--window-id 0", nullptr, "\"0\""},
        {"--window-id -5", nullptr, "-5"},
        {"--window-id 0x20000000", nullptr, "0x20000000"},  // beyond 29 bits
        {"--window-id 99999999999999999999999", nullptr, "999"},
        {"--max-fps 1001", nullptr, "1001"},
        {"--max-fps 30fps", nullptr, "30fps"},
        {"--max-fps=", nullptr, "\"\""},
        {"--fps=1", nullptr, "takes no value"},
        {"--root", "0xzz", "0xzz"},
        {"--root /s", nullptr, "/s"},
    };
    for (const auto& c : cases) {
        const CommandOptions options = ParseCommandOptions(Split(c.arguments), c.environment);
        EXPECT_EQ(options.action, Action::Refuse) << c.arguments;
        EXPECT_NE(options.message.find(c.named), std::string::npos)
            << c.arguments << " gave \"" << options.message << "\"";
    }
}

TEST(CommandOptionsTest, ProgramNameNeverReachesTheGrammar)
{
    // argv[0] is not among the arguments; a quote and a blank in what was
    // once joined with it change nothing.
    const CommandOptions options = ParseCommandOptions({"/s"}, nullptr);
    EXPECT_EQ(options.action, Action::Save);
    EXPECT_EQ(ParseCommandOptions({"\"/tmp/a b\"", "/s"}, nullptr).action, Action::Refuse);
}

TEST(FramePaceTest, WaitsOutThePeriodAndStartsAfreshWhenLate)
{
    constexpr int64_t MS = 1'000'000;
    FramePace pace(50);  // 20 ms a frame
    pace.FrameDone(1000 * MS);  // the first frame sets the count going
    EXPECT_FALSE(pace.Waiting(1000 * MS));
    pace.FrameDone(1005 * MS);  // 5 ms into the next period: wait 15 ms
    EXPECT_TRUE(pace.Waiting(1005 * MS));
    const timespec wait = pace.TimeToNextFrame(1005 * MS);
    EXPECT_EQ(wait.tv_sec, 0);
    EXPECT_EQ(wait.tv_nsec, 15 * MS);
    EXPECT_FALSE(pace.Waiting(1020 * MS));
    pace.FrameDone(1100 * MS);  // 80 ms late: no rush of frames to catch up
    EXPECT_FALSE(pace.Waiting(1100 * MS));
    pace.FrameDone(1101 * MS);
    EXPECT_EQ(pace.TimeToNextFrame(1101 * MS).tv_nsec, 19 * MS);

    FramePace uncapped(0);
    uncapped.FrameDone(5 * MS);
    uncapped.FrameDone(5 * MS);
    EXPECT_FALSE(uncapped.Waiting(5 * MS));
    EXPECT_EQ(uncapped.TimeToNextFrame(5 * MS).tv_nsec, 0);
}
}  // namespace
