// The desktop's password setting, the verifier's loading and unloading, and
// the system's running flag, on the Windows 95/98 family and elsewhere.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "support/fake_password_hooks.h"
#include "support/framework_state.h"

namespace {
struct PasswordHooksTest : testing::Test {
    PasswordHooksTest()
    {
        ResetFrameworkState();
        Win9xFamily = TRUE;
    }
    FakePasswordHooks fake;
};

// A value shorter than a word counts on its own bytes alone; one too long
// for a word cannot be read.
TEST_F(PasswordHooksTest, TheSettingAndThePanelDecideWhetherAVerifierLoads)
{
    const struct {
        const char* name;
        std::vector<BYTE> setting;
        bool panel_loads;
        bool verifier_found;
        bool loads;
    } cases[] = {
        {"word_on", {1, 0, 0, 0}, true, true, true},
        {"word_off", {0, 0, 0, 0}, true, true, false},
        {"high_byte_on", {0, 0, 0, 0x80}, true, true, true},
        {"one_byte_on", {1}, true, true, true},
        {"one_byte_off", {0}, true, true, false},
        {"second_byte_on", {0, 1}, true, true, true},
        {"too_long", {1, 0, 0, 0, 0}, true, true, false},
        {"no_value", {}, true, true, false},
        {"no_panel", {1, 0, 0, 0}, false, true, false},
        {"no_verifier_in_the_panel", {1, 0, 0, 0}, true, false, false},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        FakePasswordHooks world;
        world.setting = row.setting;
        world.panel_loads = row.panel_loads;
        world.verifier_found = row.verifier_found;
        LoadPasswordHook();
        EXPECT_EQ(VerifyPasswordFn != nullptr, row.loads);
        EXPECT_EQ(PasswordModule != nullptr, row.loads);
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

TEST_F(PasswordHooksTest, NothingLoadsWithoutTheDesktopKeyOrOutsideTheFamily)
{
    fake.key_exists = false;
    LoadPasswordHook();
    EXPECT_EQ(VerifyPasswordFn, nullptr);
    fake.key_exists = true;
    Win9xFamily = FALSE;
    LoadPasswordHook();
    EXPECT_EQ(VerifyPasswordFn, nullptr);
    EXPECT_EQ(fake.libraries_held, 0);
}

// A second load lets the first verifier go before it takes the next.
TEST_F(PasswordHooksTest, LoadingAgainKeepsOnePanel)
{
    LoadPasswordHook();
    LoadPasswordHook();
    EXPECT_EQ(VerifyPasswordFn, &FakePasswordHooks::Verifier);
    EXPECT_EQ(fake.libraries_held, 1);
    EXPECT_TRUE(fake.running);
    UnloadPasswordHook();
}

BOOL WINAPI PrintRunningFlag(UINT, UINT on, PVOID, UINT)
{
    std::fprintf(stderr, "running %u\n", on);
    return TRUE;
}

void ExitAfterLoading(BOOL win9x, bool unload)
{
    PasswordHooks.SystemParametersInfoA = PrintRunningFlag;
    Win9xFamily = win9x;
    LoadPasswordHook();
    if (unload) UnloadPasswordHook();
    std::fputs("exit\n", stderr);
    std::exit(1);
}

// A fatal failure ends the process through the orderly exit, past the
// unloading of the hook: the exit-time hook switches a leftover flag off.
TEST_F(PasswordHooksTest, TheOrderlyExitSwitchesALeftoverRunningFlagOff)
{
    const auto failed = testing::ExitedWithCode(1);
    EXPECT_EXIT(ExitAfterLoading(TRUE, false), failed, "^running 1\nexit\nrunning 0\n$");
    EXPECT_EXIT(ExitAfterLoading(TRUE, true), failed, "^running 1\nrunning 0\nexit\n$");
    EXPECT_EXIT(ExitAfterLoading(FALSE, false), failed, "^exit\n$");
}
}  // namespace
