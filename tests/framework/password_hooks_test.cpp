// The desktop's password setting, the verifier's loading and unloading, and
// the system's running flag, on the Windows 95/98 family and elsewhere.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/password_hooks.h"
#include "support/framework_state.h"

namespace {
// A system as it stands before the hooks run, and whether a verifier loads
// from it.
struct LoadCase {
    const char* name = "";
    BOOL win9x = TRUE;
    std::vector<BYTE> setting = {1, 0, 0, 0};  // ScreenSaveUsePassword's bytes
    bool verifier_found = true;
    bool loads = false;
};

// The framework's values as a fresh process has them, over that system.
struct FakePasswordHooks {
    explicit FakePasswordHooks(const LoadCase& system = {}) : system(system)
    {
        ResetFrameworkState();
        Win9xFamily = system.win9x;
        current = this;
        PasswordHooks.RegOpenKeyA = [](HKEY, LPCSTR name, PHKEY key) WINAPI {
            current->names.push_back(name);
            ++current->handles_held;
            *key = DESKTOP;
            return LONG(ERROR_SUCCESS);
        };
        // Writes only the value's own bytes, as the system does; one too long
        // for the buffer leaves it undefined.
        PasswordHooks.RegQueryValueExA = [](HKEY, LPCSTR name, LPDWORD, LPDWORD, LPBYTE data,
                                            LPDWORD size) WINAPI {
            current->names.push_back(name);
            const std::vector<BYTE>& value = current->system.setting;
            const bool fits = value.size() <= *size;
            if (fits) std::memcpy(data, value.data(), value.size());
            if (!fits) std::memset(data, 0xFF, *size);
            *size = DWORD(value.size());
            return LONG(fits ? ERROR_SUCCESS : ERROR_MORE_DATA);
        };
        PasswordHooks.RegCloseKey = [](HKEY) WINAPI {
            --current->handles_held;
            return LONG(ERROR_SUCCESS);
        };
        PasswordHooks.LoadLibraryA = [](LPCSTR name) WINAPI {
            current->names.push_back(name);
            ++current->handles_held;
            return PANEL;
        };
        PasswordHooks.GetProcAddress = [](HMODULE, LPCSTR name) WINAPI {
            current->names.push_back(name);
            return current->system.verifier_found ? &Verifier : FARPROC(nullptr);
        };
        PasswordHooks.FreeLibrary = [](HMODULE) WINAPI {
            --current->handles_held;
            return TRUE;
        };
        PasswordHooks.SystemParametersInfoA = [](UINT action, UINT on, PVOID, UINT) WINAPI {
            if (action == SPI_SCREENSAVERRUNNING) current->running = on != 0;
            return TRUE;
        };
    }

    // Stands for the panel's verifier, which the hooks never call.
    static intptr_t WINAPI Verifier() { return TRUE; }

    LoadCase system;
    // What the system holds: the running flag, and the open keys and loaded
    // libraries.
    bool running = false;
    int handles_held = 0;
    // The key, value, library and routine names asked for, in order.
    std::vector<std::string> names;
    static inline FakePasswordHooks* current = nullptr;
    static inline const HKEY DESKTOP = reinterpret_cast<HKEY>(uintptr_t(0x2000));
    static inline const HMODULE PANEL = reinterpret_cast<HMODULE>(uintptr_t(0xC91));
};

// The setting counts on the bytes it has (none of them: off), and one too
// long for a word cannot be read.
const LoadCase LOAD_CASES[] = {
    {.name = "word_on", .loads = true},
    {.name = "empty_value", .setting = {}},
    {.name = "too_long", .setting = {1, 0, 0, 0, 0}},
    {.name = "no_verifier_in_the_panel", .verifier_found = false},
    {.name = "outside_the_family", .win9x = FALSE},
};

// Loading twice lets the first verifier go before it takes the next.
TEST(PasswordHooks, TheSettingAndThePanelDecideWhetherAVerifierLoads)
{
    for (const LoadCase& row : LOAD_CASES) {
        SCOPED_TRACE(row.name);
        FakePasswordHooks world(row);
        LoadPasswordHook();
        LoadPasswordHook();
        EXPECT_EQ(VerifyPasswordFn != nullptr, row.loads);
        EXPECT_EQ(world.running, row.loads);
        EXPECT_EQ(world.handles_held, row.loads ? 1 : 0);
        UnloadPasswordHook();
        EXPECT_EQ(VerifyPasswordFn, nullptr);
        EXPECT_EQ(PasswordModule, nullptr);
        EXPECT_FALSE(world.running);
        EXPECT_EQ(world.handles_held, 0);
    }
}

// The names are the system's: a misspelt one would load no verifier on a real
// Windows 98 while every other test here still passed.
TEST(PasswordHooks, TheVerifierIsLookedUpByTheSystemsNames)
{
    FakePasswordHooks world;
    LoadPasswordHook();
    EXPECT_THAT(world.names, testing::ElementsAre("Control Panel\\Desktop", "ScreenSaveUsePassword",
                                                  "PASSWORD.CPL", "VerifyScreenSavePwd"));
    UnloadPasswordHook();
}

TEST(PasswordHooks, OutsideTheFamilyTheRunningFlagIsLeftAlone)
{
    FakePasswordHooks world({.win9x = FALSE});
    SetSaverRunning(true);
    EXPECT_FALSE(world.running);
}

void LoadThenExit()
{
    PasswordHooks.SystemParametersInfoA = [](UINT, UINT on, PVOID, UINT) WINAPI {
        std::fprintf(stderr, "running %u\n", on);
        return TRUE;
    };
    LoadPasswordHook();
    std::exit(1);
}

// A fatal failure ends the process through the orderly exit, past the
// unloading of the hook: the exit-time hook switches the leftover flag off.
TEST(PasswordHooks, TheOrderlyExitSwitchesALeftoverRunningFlagOff)
{
    FakePasswordHooks world;
    EXPECT_EXIT(LoadThenExit(), testing::ExitedWithCode(1), "^running 1\nrunning 0\n$");
}
}  // namespace
