// The desktop's password setting, the verifier's loading and unloading, and
// the system's running flag, on the Windows 95/98 family and elsewhere.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "support/fake_password_hooks.h"

namespace {
struct LoadCase {
    const char* name;
    PasswordSystem system = {};
    bool loads = false;
};

// The setting counts on the bytes it has (none of them: off), and one too
// long for a word cannot be read.
const LoadCase LOAD_CASES[] = {
    {.name = "word_on", .loads = true},
    {.name = "word_off", .system = {.setting = {0, 0, 0, 0}}},
    {.name = "high_byte_on", .system = {.setting = {0, 0, 0, 0x80}}, .loads = true},
    {.name = "empty_value", .system = {.setting = {}}},
    {.name = "too_long", .system = {.setting = {1, 0, 0, 0, 0}}},
    {.name = "no_desktop_key", .system = {.key_exists = false}},
    {.name = "no_panel", .system = {.panel_loads = false}},
    {.name = "no_verifier_in_the_panel", .system = {.verifier_found = false}},
};

// Loading twice lets the first verifier go before it takes the next.
TEST(PasswordHooks, TheSettingAndThePanelDecideWhetherAVerifierLoads)
{
    for (const LoadCase& row : LOAD_CASES) {
        SCOPED_TRACE(row.name);
        FakePasswordHooks world(row.system);
        Win9xFamily = TRUE;
        LoadPasswordHook();
        LoadPasswordHook();
        EXPECT_EQ(VerifyPasswordFn != nullptr, row.loads);
        EXPECT_EQ(world.running, row.loads);
        EXPECT_EQ(world.libraries_held, row.loads ? 1 : 0);
        EXPECT_EQ(world.open_keys, 0);
        UnloadPasswordHook();
        EXPECT_EQ(VerifyPasswordFn, nullptr);
        EXPECT_EQ(PasswordModule, nullptr);
        EXPECT_FALSE(world.running);
        EXPECT_EQ(world.libraries_held, 0);
    }
}

TEST(PasswordHooks, OutsideTheFamilyTheSystemIsLeftAlone)
{
    FakePasswordHooks world;
    LoadPasswordHook();
    SetSaverRunning(true);
    EXPECT_EQ(VerifyPasswordFn, nullptr);
    EXPECT_FALSE(world.running);
}

void LoadThenExit(bool unload)
{
    PasswordHooks.SystemParametersInfoA = [](UINT, UINT on, PVOID, UINT) WINAPI {
        std::fprintf(stderr, "running %u\n", on);
        return TRUE;
    };
    Win9xFamily = TRUE;
    LoadPasswordHook();
    if (unload) UnloadPasswordHook();
    std::fputs("exit\n", stderr);
    std::exit(1);
}

// A fatal failure ends the process through the orderly exit, past the
// unloading of the hook: the exit-time hook switches a leftover flag off, and
// only a leftover one.
TEST(PasswordHooks, TheOrderlyExitSwitchesALeftoverRunningFlagOff)
{
    FakePasswordHooks world;
    const auto failed = testing::ExitedWithCode(1);
    EXPECT_EXIT(LoadThenExit(false), failed, "^running 1\nexit\nrunning 0\n$");
    EXPECT_EXIT(LoadThenExit(true), failed, "^running 1\nrunning 0\nexit\n$");
}
}  // namespace
