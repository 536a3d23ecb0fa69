// The desktop's password setting, the verifier's loading and unloading, and
// the system's running flag.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "support/fake_saver_platform.h"

TEST(PasswordHooksTest, SettingAndLibraryDecideWhetherAVerifierLoads)
{
    // Values shorter than a word count on their own bytes only; a longer one cannot be read.
    const std::set<std::string> all = {"PASSWORD.CPL", "VerifyScreenSavePwd"};
    const struct { bool win9x, key; std::vector<BYTE> setting; std::set<std::string> found; bool loads; } cases[] = {
        {true, false, {1, 0, 0, 0}, all, false}, {true, true, {}, all, false}, {true, true, {0, 0, 0, 0}, all, false},
        {true, true, {1, 0, 0, 0, 0}, all, false}, {true, true, {1, 0, 0, 0}, {}, false}, {true, true, {1, 0, 0, 0}, {"PASSWORD.CPL"}, false},
        {true, true, {0, 0, 0, 0x80}, all, true}, {true, true, {1}, all, true}, {true, true, {0}, all, false},
        {true, true, {0, 1}, all, true}, {true, true, {0, 0, 0}, all, false}, {false, true, {1, 0, 0, 0}, all, false},
    };
    for (const auto& c : cases) {
        FakeSaverPlatform fake;
        Win9xFamily = c.win9x, fake.keyExists = c.key, fake.setting = c.setting, fake.found = c.found;
        for (int load = 0; load < 2; ++load) {  // a second load lets the first verifier go
            LoadPasswordHook();
            EXPECT_EQ(PasswordModule != nullptr && VerifyPasswordFn != nullptr, c.loads) << c.setting.size();
            EXPECT_TRUE(fake.loaded.size() == c.loads && fake.running == c.loads && fake.openKeys == 0) << c.setting.size();
        }
        UnloadPasswordHook();
        EXPECT_TRUE(PasswordModule == nullptr && VerifyPasswordFn == nullptr && fake.loaded.empty() && !fake.running);
    }
}

static void ExitAfterLoading(BOOL win9x, bool unload)
{
    FakeSaverPlatform fake;
    PasswordHooks.SystemParametersInfoA = [](UINT, UINT on, PVOID, UINT) WINAPI { return std::fprintf(stderr, "running %u\n", on), TRUE; };
    Win9xFamily = win9x;
    LoadPasswordHook();
    if (unload) UnloadPasswordHook();
    std::fputs("exit\n", stderr);
    std::exit(1);
}

// A fatal failure ends the process through the orderly exit, past the
// unloading of the hook: the exit-time hook switches a leftover flag off.
TEST(PasswordHooksTest, OrderlyExitSwitchesALeftoverRunningFlagOff)
{
    EXPECT_EXIT(ExitAfterLoading(TRUE, false), testing::ExitedWithCode(1), "^running 1\nexit\nrunning 0\n$");
    EXPECT_EXIT(ExitAfterLoading(TRUE, true), testing::ExitedWithCode(1), "^running 1\nrunning 0\nexit\n$");
    EXPECT_EXIT(ExitAfterLoading(FALSE, false), testing::ExitedWithCode(1), "^exit\n$");
}
