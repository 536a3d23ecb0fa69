// The framework over the real Win32 layer, under Wine: the fault guard with a
// real fault, and the password setting read through the real registry.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "framework/entry.h"
#include "framework/password_hooks.h"
#include "platform/entry.h"
#include "platform/password_hooks.h"

namespace {
// Opaque to the compiler, so the write below is a real store to address 0.
int* volatile NowhereToWrite = nullptr;

BOOL WINAPI ReportWin9x(LPOSVERSIONINFOA version)
{
    version->dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
    return TRUE;
}

BOOL WINAPI ReportRunningFlag(UINT action, UINT on, PVOID, UINT)
{
    std::fprintf(stderr, "[running flag %u %u]", action, on);
    std::fflush(stderr);
    return TRUE;
}

int FaultingRun(HWND)
{
    *NowhereToWrite = 1;
    return 0;
}

void RunFaultingSaver(bool win9x)
{
    if (win9x) Entry.GetVersionExA = ReportWin9x;
    Entry.RunSaver = FaultingRun;
    PasswordHooks.SystemParametersInfoA = ReportRunningFlag;
    SaverMain(GetModuleHandleA(nullptr), "/s");
    std::fprintf(stderr, "[SaverMain returned]");
    std::exit(0);
}

// The system ends a faulting process with the fault's code.
const int ACCESS_VIOLATION_EXIT = static_cast<int>(EXCEPTION_ACCESS_VIOLATION);

// Under Wine, a fault that the system reports starts Wine's debugger, which
// waits on a crash dialog. For these tests the system's debugger is one that
// cannot start, so the report ends at once and the process ends as it would
// without a debugger. Windows itself is left alone.
class FaultGuardDeathTest : public testing::Test {
protected:
    static bool UnderWine()
    {
        const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }
    void SetUp() override
    {
        if (!UnderWine()) return;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, AEDEBUG, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &aeDebug_,
                                  nullptr),
                  ERROR_SUCCESS);
        DWORD size = sizeof savedDebugger_;
        hadDebugger_ = RegQueryValueExA(aeDebug_, "Debugger", nullptr, nullptr,
                                        reinterpret_cast<BYTE*>(savedDebugger_), &size) == ERROR_SUCCESS;
        const char none[] = "lumenfall-no-such-debugger.exe %ld %ld";
        ASSERT_EQ(RegSetValueExA(aeDebug_, "Debugger", 0, REG_SZ, reinterpret_cast<const BYTE*>(none), sizeof none),
                  ERROR_SUCCESS);
    }
    void TearDown() override
    {
        if (aeDebug_ == nullptr) return;
        if (hadDebugger_) {
            RegSetValueExA(aeDebug_, "Debugger", 0, REG_SZ, reinterpret_cast<const BYTE*>(savedDebugger_),
                           DWORD(strlen(savedDebugger_) + 1));
        } else {
            RegDeleteValueA(aeDebug_, "Debugger");
        }
        RegCloseKey(aeDebug_);
    }

private:
    static constexpr const char* AEDEBUG = "Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug";
    HKEY aeDebug_ = nullptr;
    char savedDebugger_[512] = {};
    bool hadDebugger_ = false;
};

TEST_F(FaultGuardDeathTest, FaultSwitchesTheRunningFlagOffBeforeTheProcessEnds)
{
    EXPECT_EXIT(RunFaultingSaver(true), testing::ExitedWithCode(ACCESS_VIOLATION_EXIT),
                "^\\[running flag 97 0\\]$");
}

TEST_F(FaultGuardDeathTest, OutsideTheFamilyTheFaultEndsTheProcessAlone)
{
    EXPECT_EXIT(RunFaultingSaver(false), testing::ExitedWithCode(ACCESS_VIOLATION_EXIT), "^$");
}

// A fault after the run mode has returned is no longer the guard's.
TEST_F(FaultGuardDeathTest, GuardEndsWithTheRunMode)
{
    EXPECT_EXIT(
        {
            Entry.GetVersionExA = ReportWin9x;
            Entry.RunSaver = [](HWND) { return 3; };
            PasswordHooks.SystemParametersInfoA = ReportRunningFlag;
            std::fprintf(stderr, "[result %d]", SaverMain(GetModuleHandleA(nullptr), "/s"));
            std::fflush(stderr);
            *NowhereToWrite = 1;
        },
        testing::ExitedWithCode(ACCESS_VIOLATION_EXIT), "^\\[result 3\\]$");
}

std::vector<std::string> LibrariesAsked;

HMODULE WINAPI RecordLoadLibrary(LPCSTR name)
{
    LibrariesAsked.emplace_back(name);
    return nullptr;
}

// The password setting as Windows stores it, written into this Wine prefix's
// registry as raw bytes of any length.
class RealRegistryTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &desktop_, nullptr),
                  ERROR_SUCCESS);
        saved_ = PasswordHooks;
        PasswordHooks.LoadLibraryA = RecordLoadLibrary;
        LibrariesAsked.clear();
        Win9xFamily = TRUE;
    }
    void TearDown() override
    {
        RegDeleteValueA(desktop_, "ScreenSaveUsePassword");
        RegCloseKey(desktop_);
        PasswordHooks = saved_;
        Win9xFamily = FALSE;
    }
    void Store(const std::vector<BYTE>& bytes)
    {
        ASSERT_EQ(RegSetValueExA(desktop_, "ScreenSaveUsePassword", 0, REG_BINARY, bytes.data(), DWORD(bytes.size())),
                  ERROR_SUCCESS);
    }

    HKEY desktop_ = nullptr;
    PasswordHooksPlatform saved_;
};

TEST_F(RealRegistryTest, SettingIsJudgedOnItsOwnBytes)
{
    const struct {
        std::vector<BYTE> bytes;
        bool on;
    } cases[] = {
        {{1}, true},       {{0}, false},       {{0, 2}, true},     {{0, 0, 0}, false},
        {{0, 0, 0, 1}, true}, {{0, 0, 0, 0}, false}, {{1, 0, 0, 0, 0}, false},  // too long: the query fails
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bytes.size() << " bytes");
        Store(c.bytes);
        LibrariesAsked.clear();
        LoadPasswordHook();
        EXPECT_EQ(LibrariesAsked, c.on ? std::vector<std::string>{"PASSWORD.CPL"} : std::vector<std::string>{});
        EXPECT_EQ(PasswordModule, nullptr);
    }
    // No value at all: the password is off.
    RegDeleteValueA(desktop_, "ScreenSaveUsePassword");
    LibrariesAsked.clear();
    LoadPasswordHook();
    EXPECT_TRUE(LibrariesAsked.empty());
}
}  // namespace
