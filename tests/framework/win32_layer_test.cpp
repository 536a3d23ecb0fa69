// The framework over the real Win32 layer, under Wine: the fault guard with a real
// fault.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "framework/entry.h"
#include "platform/entry.h"
#include "platform/password_hooks.h"

namespace {
int* volatile NowhereToWrite = nullptr;  // opaque: the store below really goes to address 0

// Runs the full-screen mode on the Windows 95/98 family (or not) with `run`
// as the saver, reporting every change of the running flag, then faults.
void RunThenFault(bool win9x, int (*run)(HWND))
{
    if (win9x) Entry.GetVersionExA = [](LPOSVERSIONINFOA v) WINAPI { return v->dwPlatformId = VER_PLATFORM_WIN32_WINDOWS, TRUE; };
    Entry.RunSaver = run;
    PasswordHooks.SystemParametersInfoA = [](UINT action, UINT on, PVOID, UINT) WINAPI {
        return std::fprintf(stderr, "[flag %u %u]", action, on), std::fflush(stderr), TRUE;
    };
    std::fprintf(stderr, "[result %d]", SaverMain(GetModuleHandleA(nullptr), "/s"));
    std::fflush(stderr);
    *NowhereToWrite = 1;
}

// The system ends a faulting process with the fault's code. Under Wine the
// fault would start Wine's debugger, which waits on a crash dialog: for these
// tests the system's debugger is one that cannot start.
TEST(FaultGuardDeathTest, FaultInTheRunSwitchesTheRunningFlagOff)
{
    HKEY aeDebug = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &aeDebug, nullptr), ERROR_SUCCESS);
    char saved[512] = {};
    DWORD size = sizeof saved;
    const bool had = RegQueryValueExA(aeDebug, "Debugger", nullptr, nullptr, reinterpret_cast<BYTE*>(saved), &size) == ERROR_SUCCESS;
    const char none[] = "lumenfall-no-such-debugger.exe %ld %ld";
    RegSetValueExA(aeDebug, "Debugger", 0, REG_SZ, reinterpret_cast<const BYTE*>(none), sizeof none);
    const int code = static_cast<int>(EXCEPTION_ACCESS_VIOLATION);
    auto fault = [](HWND) { return *NowhereToWrite = 1; };
    EXPECT_EXIT(RunThenFault(true, fault), testing::ExitedWithCode(code), "^\\[flag 97 0\\]$");
    EXPECT_EXIT(RunThenFault(false, fault), testing::ExitedWithCode(code), "^$");
    // A fault after the run mode has returned is no longer the guard's.
    EXPECT_EXIT(RunThenFault(true, [](HWND) { return 3; }), testing::ExitedWithCode(code), "^\\[result 3\\]$");
    if (had) RegSetValueExA(aeDebug, "Debugger", 0, REG_SZ, reinterpret_cast<const BYTE*>(saved), size);
    else RegDeleteValueA(aeDebug, "Debugger");
    RegCloseKey(aeDebug);
}
}  // namespace
