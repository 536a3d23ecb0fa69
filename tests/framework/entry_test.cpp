// The whole command line down to the run mode and exit code, the owner
// fallbacks, the platform family, the password-change call and the fault guard.
#include <gtest/gtest.h>

#include "support/fake_saver_platform.h"

TEST(SaverEntryTest, CommandLineSelectsTheModeAndExitCode)
{
    // family 1 is the Windows 95/98 family; `without` takes one thing from the system.
    const struct { const char* line; int family; int exit; const char* mode; const char* without; } cases[] = {
        {"x.scr", 0, 5, "box 0", ""}, {"x.scr  /-/ -- ", 0, 5, "box 0", ""}, {"x.scr /s", 0, 7, "run 0", ""},
        {"x.scr -S /p 1234", 1, 7, "run 0", ""}, {"x.scr / - save", 0, 7, "run 0", ""}, {"x.scr /p 1234", 0, 7, "run 1234", ""},
        {"x.scr /P   1234", 0, 7, "run 1234", ""}, {"x.scr -l1234 /s", 0, 7, "run 1234", ""}, {"x.scr /p 4294968530", 0, 7, "run 1234", ""},
        {"x.scr /p 4321", 0, -1, "", ""}, {"x.scr /p", 0, -1, "", ""}, {"x.scr /p:1234", 0, -1, "", ""}, {"x.scr /p\t1234", 0, -1, "", ""},
        {"x.scr /c:1234", 0, 5, "box 1234", ""}, {"x.scr -C:1234", 0, 5, "box 1234", ""}, {"x.scr /c 1234", 0, 5, "box 99", ""},
        {"x.scr /c:4321", 0, 5, "box 99", ""}, {"x.scr /c: 1234", 0, 5, "box 99", ""}, {"x.scr /c:12ab", 0, 5, "box 99", ""},
        {"x.scr /c", 0, 0, "", "classes"}, {"x.scr", 0, -1, "box 0", "dialog"}, {"x.scr /a 1234", 1, 0, "pwd 1234", ""},
        {"x.scr -A1234", 1, 0, "pwd 1234", ""}, {"x.scr /a 4321", 1, 0, "pwd 99", ""}, {"x.scr /a", 1, 0, "pwd 99", ""},
        {"x.scr /a 1234", 1, 0, "", "MPR.DLL"}, {"x.scr /a 1234", 1, 0, "", "PwdChangePasswordA"}, {"x.scr /a 1234", 0, -1, "", ""},
        {"x.scr /a 1234", 1, -1, "", "version"}, {"x.scr /x", 0, -1, "", ""}, {"x.scr /\t/s", 0, -1, "", ""},
        {"x.scr /\x80s", 1, -1, "", ""}, {"x.scr :c", 0, -1, "", ""}, {"\"C:\\My Savers\\x.scr\" /s", 0, 7, "run 0", ""},
        {"\"C:\\a b\\c.scr\"/p 1234", 0, 7, "run 1234", ""}, {"C:\\sav\xe9r s\\x.scr /p 1234", 0, 7, "run 0", ""},
        {"saver.scr\t\x01\x1f/s", 0, 7, "run 0", ""}, {"saver.scr/s", 0, 5, "box 0", ""}, {" /s", 0, 7, "run 0", ""},
        {"\"C:\\unterminated /s", 0, 5, "box 0", ""}, {"\"\" /l 1234", 0, 7, "run 1234", ""},
    };
    for (const auto& c : cases) {
        FakeSaverPlatform fake;
        fake.commandLine = c.line;
        fake.platformId = c.family ? VER_PLATFORM_WIN32_WINDOWS : VER_PLATFORM_WIN32s;
        fake.found.erase(c.without);
        SaverEntry();
        EXPECT_EQ(fake.exitCode, UINT(c.exit)) << c.line << " without " << c.without;
        EXPECT_EQ(fake.mode, c.mode) << c.line << " without " << c.without;
        EXPECT_TRUE(fake.loaded.empty() && SaverInstance == reinterpret_cast<HINSTANCE>(0x400000)) << c.line;
    }
}

// A fault that escapes the run reaches the guard, which switches the running
// flag off on the Windows 95/98 family; afterwards the previous guard is back.
TEST(SaverEntryTest, FaultGuardSwitchesTheRunningFlagOff)
{
    for (const bool win9x : {true, false}) {
        FakeSaverPlatform fake;
        fake.platformId = win9x ? VER_PLATFORM_WIN32_WINDOWS : VER_PLATFORM_WIN32_NT;
        fake.running = true;
        LONG answer = -7;
        fake.duringRun = [&] { answer = fake.filter ? fake.filter(nullptr) : -8; };
        EXPECT_EQ(SaverMain(nullptr, "/s"), 7);
        EXPECT_TRUE(answer == EXCEPTION_CONTINUE_SEARCH && fake.running == !win9x && fake.filter == nullptr);
    }
}
