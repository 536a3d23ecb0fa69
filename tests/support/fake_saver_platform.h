// Doubles for the saver framework's three platform tables (entry, close rules,
// password hooks), installed for the lifetime of the object. Every call is
// logged as one line of text with its arguments, in order, and answered from
// the public fields. The framework's process-wide values start from their
// initial state and are put back afterwards.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/close_rules.h"
#include "platform/entry.h"
#include "platform/password_hooks.h"

// What the entry's doubles answer in the standard world of the entry tests
// and the fuzzer: a run of the saver, and the configuration dialog.
constexpr int FAKE_RUN_RESULT = 7;
constexpr int FAKE_DIALOG_RESULT = 5;

class FakeSaverPlatform {
public:
    FakeSaverPlatform();
    ~FakeSaverPlatform();
    FakeSaverPlatform(const FakeSaverPlatform&) = delete;
    FakeSaverPlatform& operator=(const FakeSaverPlatform&) = delete;

    // The standard world: window 1234 exists, window 99 has the foreground,
    // MPR.DLL offers PwdChangePasswordA, and the runs answer the FAKE_ results.
    void UseEntryWorld(bool win9x);

    std::vector<std::string> calls;
    // Appends one call, formatted like printf, to `calls`.
    void Log(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    // The calls whose text starts with `prefix`.
    std::vector<std::string> CallsTo(const std::string& prefix) const;
    void ClearCalls() { calls.clear(); }

    // Entry.
    std::string commandLine;
    HMODULE module = reinterpret_cast<HMODULE>(uintptr_t(0x400000));
    bool versionSucceeds = true;
    DWORD platformId = VER_PLATFORM_WIN32_NT;
    std::set<uintptr_t> windows;  // handles that name a window
    uintptr_t foreground = 0;
    BOOL dialogClassesRegistered = TRUE;
    INT_PTR dialogResult = 1;
    int runSaverResult = 0;
    std::function<void()> duringRun;  // runs inside RunSaver
    LPTOP_LEVEL_EXCEPTION_FILTER installedFilter = nullptr;

    // Libraries that load, and routine names found in them ("MPR.DLL",
    // "PwdChangePasswordA", "PASSWORD.CPL", "VerifyScreenSavePwd").
    std::set<std::string> libraries;
    std::set<std::string> routines;

    // Close rules.
    POINT cursor = {0, 0};
    bool cursorReadable = true;
    DWORD tick = 0;
    int pendingTimers = 0;
    LRESULT defaultResult = 42;          // DefWindowProcA's answer
    BOOL verdict = FALSE;                // the password prompt's answer
    std::function<void()> duringPrompt;  // runs while the prompt is up

    // Password hooks: the registry's answers and the bytes that the query
    // writes (only the first `size` bytes the caller offers).
    LONG openResult = ERROR_SUCCESS;
    LONG queryResult = ERROR_SUCCESS;
    std::vector<BYTE> storedValue = {0, 0, 0, 0};
    DWORD wordBeforeQuery = 0xDEADBEEF;  // what the caller's word held on entry
    bool runningFlag = false;  // what the system was last told

private:
    EntryPlatform savedEntry_;
    CloseRulesPlatform savedCloseRules_;
    PasswordHooksPlatform savedPasswordHooks_;
};

// A window handle from its number, and back, for expectations.
inline HWND Window(uintptr_t number) { return reinterpret_cast<HWND>(number); }
inline unsigned long Number(const void* handle)
{
    return static_cast<unsigned long>(reinterpret_cast<uintptr_t>(handle));
}
