// The command line down to the run mode, the owner fallbacks, the platform
// family, the password-change call and the fault guard.
#include <gtest/gtest.h>

#include "framework/entry.h"
#include "support/fake_saver_platform.h"

namespace {
TEST(SaverEntryTest, TailSelectsTheModeAndResult)
{
    const struct { const char* tail; bool win9x; int result; const char* mode; } cases[] = {
        {"", false, 5, "box 0"}, {" /-/ -- ", false, 5, "box 0"}, {"/s", false, 7, "run 0"}, {"-S /p 1234", true, 7, "run 0"},
        {"/ - save", false, 7, "run 0"}, {"/p 1234", false, 7, "run 1234"}, {"/P   1234", false, 7, "run 1234"},
        {"-l1234 /s", false, 7, "run 1234"}, {"/p 4294968530", false, 7, "run 1234"}, {"/p 4321", false, -1, ""},
        {"/p", false, -1, ""}, {"/p:1234", false, -1, ""}, {"/p\t1234", false, -1, ""}, {"/c:1234", false, 5, "box 1234"},
        {"-C:1234", false, 5, "box 1234"}, {"/c 1234", false, 5, "box 99"}, {"/c:4321", false, 5, "box 99"},
        {"/c: 1234", false, 5, "box 99"}, {"/c:12ab", false, 5, "box 99"}, {"/a 1234", true, 0, "pwd 1234"},
        {"-A1234", true, 0, "pwd 1234"}, {"/a 4321", true, 0, "pwd 99"}, {"/a", true, 0, "pwd 99"},
        {"/a 1234", false, -1, ""}, {"/x", false, -1, ""}, {"/\t/s", false, -1, ""}, {"/\x80s", true, -1, ""},
        {":c", false, -1, ""},
    };
    for (const auto& c : cases) {
        FakeSaverPlatform fake;
        fake.platformId = c.win9x ? VER_PLATFORM_WIN32_WINDOWS : VER_PLATFORM_WIN32_NT;
        EXPECT_EQ(SaverMain(nullptr, c.tail), c.result) << c.tail;
        EXPECT_EQ(fake.mode, c.mode) << c.tail;
        EXPECT_TRUE(fake.loaded.empty()) << c.tail;
    }
}

TEST(SaverEntryTest, WholeCommandLineSkipsTheProgramName)
{
    const struct { const char* line; UINT exit; const char* mode; } cases[] = {
        {"\"C:\\My Savers\\Lumenfall.scr\" /s", 7, "run 0"}, {"\"C:\\a b\\c.scr\"/p 1234", 7, "run 1234"},
        {"C:\\SAVERS\\LUMENF~1.SCR /c:1234", 5, "box 1234"}, {"C:\\sav\xe9r s\\x.scr /p 1234", 7, "run 0"},
        {"saver.scr\t\x01\x1f/s", 7, "run 0"}, {"saver.scr/s", 5, "box 0"}, {" /s", 7, "run 0"},
        {"\"C:\\unterminated /s", 5, "box 0"}, {"\"\" /l 1234", 7, "run 1234"}, {"x.scr /x", UINT(-1), ""},
    };
    for (const auto& c : cases) {
        FakeSaverPlatform fake;
        fake.commandLine = c.line;
        SaverEntry();
        EXPECT_EQ(fake.mode, c.mode) << c.line;
        EXPECT_EQ(fake.exitCode, c.exit) << c.line;
        EXPECT_EQ(SaverInstance, reinterpret_cast<HINSTANCE>(0x400000));
    }
}

TEST(SaverEntryTest, FamilyAndDialogFailuresComeFromTheSystem)
{
    const struct { bool versionOk; DWORD platform; BOOL classes; INT_PTR dialog; BOOL win9x; int result; const char* mode; } cases[] = {
        {true, VER_PLATFORM_WIN32_WINDOWS, TRUE, 5, TRUE, 5, "box 0"}, {true, VER_PLATFORM_WIN32s, TRUE, 5, FALSE, 5, "box 0"},
        {false, VER_PLATFORM_WIN32_WINDOWS, TRUE, 5, FALSE, 5, "box 0"}, {true, VER_PLATFORM_WIN32_NT, FALSE, 5, FALSE, 0, ""},
        {true, VER_PLATFORM_WIN32_NT, TRUE, -1, FALSE, -1, "box 0"},
    };
    for (const auto& c : cases) {
        FakeSaverPlatform fake;
        fake.versionOk = c.versionOk;
        fake.platformId = c.platform;
        fake.dialogClasses = c.classes;
        fake.dialogResult = c.dialog;
        EXPECT_EQ(SaverMain(nullptr, ""), c.result);
        EXPECT_EQ(Win9xFamily, c.win9x);
        EXPECT_EQ(fake.mode, c.mode);
    }
}

TEST(SaverEntryTest, PasswordChangeNeedsTheLibraryAndItsRoutine)
{
    for (const std::set<std::string>& found : {std::set<std::string>{}, {"MPR.DLL"}, {"MPR.DLL", "PwdChangePasswordA"}}) {
        FakeSaverPlatform fake;
        fake.platformId = VER_PLATFORM_WIN32_WINDOWS;
        fake.found = found;
        EXPECT_EQ(SaverMain(nullptr, "/a 1234"), 0);
        EXPECT_EQ(fake.mode, found.size() == 2 ? "pwd 1234" : "");
        EXPECT_TRUE(fake.loaded.empty());
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
        fake.duringRun = [&] { answer = fake.filter != nullptr ? fake.filter(nullptr) : -8; };
        EXPECT_EQ(SaverMain(nullptr, "/s"), 7);
        EXPECT_EQ(answer, EXCEPTION_CONTINUE_SEARCH);
        EXPECT_EQ(fake.running, !win9x);
        EXPECT_EQ(fake.filter, nullptr);
    }
}
}  // namespace
