// The desktop's password setting, the verifier's loading and unloading, and
// the system's running flag, in the order and with the arguments the system
// expects.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/entry.h"
#include "framework/password_hooks.h"
#include "support/fake_saver_platform.h"

namespace {
using Calls = std::vector<std::string>;

const std::string OPEN = "RegOpenKeyA(HKEY_CURRENT_USER, Control Panel\\Desktop)";
const std::string QUERY = "RegQueryValueExA(desktop, ScreenSaveUsePassword, null, null, 4)";
const std::string CLOSE = "RegCloseKey(desktop)";
const std::string LOAD = "LoadLibraryA(PASSWORD.CPL)";
const std::string FIND = "GetProcAddress(PASSWORD.CPL, VerifyScreenSavePwd)";
const std::string FREE = "FreeLibrary(PASSWORD.CPL)";
const std::string RUNNING_ON = "SystemParametersInfoA(97, 1, word, 0)";
const std::string RUNNING_OFF = "SystemParametersInfoA(97, 0, word, 0)";

class PasswordHooksTest : public testing::Test {
protected:
    void SetUp() override { Win9xFamily = TRUE; }
    void Present(bool library, bool routine)
    {
        fake.libraries.clear();
        fake.routines.clear();
        if (library) fake.libraries.insert("PASSWORD.CPL");
        if (routine) fake.routines.insert("VerifyScreenSavePwd");
    }

    FakeSaverPlatform fake;
};

TEST_F(PasswordHooksTest, OutsideTheFamilyNothingIsTouched)
{
    Win9xFamily = FALSE;
    fake.storedValue = {1, 0, 0, 0};
    Present(true, true);
    LoadPasswordHook();
    SetSaverRunning(true);
    SetSaverRunning(false);
    UnloadPasswordHook();
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_EQ(PasswordModule, nullptr);
    EXPECT_EQ(VerifyPasswordFn, nullptr);
}

TEST_F(PasswordHooksTest, SettingAndLibraryDecideWhetherAVerifierLoads)
{
    const struct {
        const char* name;
        LONG open, query;
        std::vector<BYTE> value;
        bool library, routine;
        Calls calls;
        bool loaded;
    } cases[] = {
        {"key missing", ERROR_FILE_NOT_FOUND, ERROR_SUCCESS, {1, 0, 0, 0}, true, true, {OPEN}, false},
        {"value missing", ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, {1, 0, 0, 0}, true, true, {OPEN, QUERY, CLOSE}, false},
        {"value 0", ERROR_SUCCESS, ERROR_SUCCESS, {0, 0, 0, 0}, true, true, {OPEN, QUERY, CLOSE}, false},
        {"value longer than a word", ERROR_SUCCESS, ERROR_SUCCESS, {1, 0, 0, 0, 0}, true, true,
         {OPEN, QUERY, CLOSE}, false},
        {"no library", ERROR_SUCCESS, ERROR_SUCCESS, {1, 0, 0, 0}, false, false, {OPEN, QUERY, LOAD, CLOSE}, false},
        {"library without the routine", ERROR_SUCCESS, ERROR_SUCCESS, {1, 0, 0, 0}, true, false,
         {OPEN, QUERY, LOAD, FIND, FREE, CLOSE}, false},
        {"verifier found", ERROR_SUCCESS, ERROR_SUCCESS, {1, 0, 0, 0}, true, true,
         {OPEN, QUERY, LOAD, FIND, RUNNING_ON, CLOSE}, true},
        {"any nonzero word", ERROR_SUCCESS, ERROR_SUCCESS, {0, 0, 0, 0x80}, true, true,
         {OPEN, QUERY, LOAD, FIND, RUNNING_ON, CLOSE}, true},
        // Values shorter than the word count on their own bytes only.
        {"one byte 1", ERROR_SUCCESS, ERROR_SUCCESS, {1}, true, true, {OPEN, QUERY, LOAD, FIND, RUNNING_ON, CLOSE},
         true},
        {"one byte 0", ERROR_SUCCESS, ERROR_SUCCESS, {0}, true, true, {OPEN, QUERY, CLOSE}, false},
        {"two bytes 0x100", ERROR_SUCCESS, ERROR_SUCCESS, {0, 1}, true, true,
         {OPEN, QUERY, LOAD, FIND, RUNNING_ON, CLOSE}, true},
        {"three bytes 0", ERROR_SUCCESS, ERROR_SUCCESS, {0, 0, 0}, true, true, {OPEN, QUERY, CLOSE}, false},
        {"no bytes", ERROR_SUCCESS, ERROR_SUCCESS, {}, true, true, {OPEN, QUERY, CLOSE}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UnloadPasswordHook();
        fake.ClearCalls();
        fake.runningFlag = false;
        fake.wordBeforeQuery = 0xDEADBEEF;
        fake.openResult = c.open;
        fake.queryResult = c.query;
        fake.storedValue = c.value;
        Present(c.library, c.routine);
        LoadPasswordHook();
        EXPECT_EQ(fake.calls, c.calls);
        EXPECT_EQ(PasswordModule != nullptr, c.loaded);
        EXPECT_EQ(VerifyPasswordFn != nullptr, c.loaded);
        EXPECT_EQ(fake.runningFlag, c.loaded);
        // The word the setting is read into holds nothing of its own.
        if (c.open == ERROR_SUCCESS) {
            EXPECT_EQ(fake.wordBeforeQuery, 0u);
        }
    }
}

// A second load lets the first verifier go; unloading frees the library
// before the running flag goes off, and a second unload has nothing to undo.
TEST_F(PasswordHooksTest, ReloadAndUnloadLetTheVerifierGoBeforeTheFlag)
{
    fake.storedValue = {1, 0, 0, 0};
    Present(true, true);
    LoadPasswordHook();
    fake.ClearCalls();
    LoadPasswordHook();
    EXPECT_EQ(fake.calls, (Calls{FREE, RUNNING_OFF, OPEN, QUERY, LOAD, FIND, RUNNING_ON, CLOSE}));
    EXPECT_TRUE(fake.runningFlag);

    for (const Calls& expected : {Calls{FREE, RUNNING_OFF}, Calls{}}) {
        fake.ClearCalls();
        UnloadPasswordHook();
        EXPECT_EQ(fake.calls, expected);
        EXPECT_EQ(PasswordModule, nullptr);
        EXPECT_EQ(VerifyPasswordFn, nullptr);
        EXPECT_FALSE(fake.runningFlag);
    }
}

// A fatal failure ends the process through the orderly exit, past the
// unloading of the hook: the exit-time hook switches the flag off then, and
// only when it is still on. The child reports each change of the flag, and
// where the exit began, on standard error.
TEST_F(PasswordHooksTest, OrderlyExitSwitchesALeftoverRunningFlagOff)
{
    fake.storedValue = {1, 0, 0, 0};
    Present(true, true);
    PasswordHooks.SystemParametersInfoA = [](UINT action, UINT on, PVOID, UINT) WINAPI {
        if (action == SPI_SCREENSAVERRUNNING) std::fprintf(stderr, "running %u\n", on);
        return TRUE;
    };
    const struct {
        const char* name;
        BOOL win9x;
        bool unload_before_exit;
        const char* reported;
    } cases[] = {
        {"verifier still loaded", TRUE, false, "^running 1\nexit\nrunning 0\n$"},
        {"verifier already let go", TRUE, true, "^running 1\nrunning 0\nexit\n$"},
        {"outside the 95/98 family", FALSE, false, "^exit\n$"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Win9xFamily = c.win9x;
        EXPECT_EXIT(
            {
                LoadPasswordHook();
                if (c.unload_before_exit) UnloadPasswordHook();
                std::fputs("exit\n", stderr);
                std::exit(1);
            },
            testing::ExitedWithCode(1), c.reported);
    }
}
}  // namespace
