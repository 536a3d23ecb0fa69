// One double for the framework's platform tables (entry, close rules, password
// hooks, saver window), installed for the object's life. It keeps what the
// system would keep (loaded libraries, open keys, the running flag, posted
// messages) and answers from the public fields. The framework's process-wide
// values start from their initial state and are put back afterwards.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/close_rules.h"
#include "platform/entry.h"
#include "platform/password_hooks.h"
#include "platform/saver_window.h"

inline HWND Hwnd(uintptr_t number) { return reinterpret_cast<HWND>(number); }
// Default handling answers DEFAULT_RESULT, the program's procedure PROGRAM_RESULT.
constexpr LRESULT DEFAULT_RESULT = 42, PROGRAM_RESULT = 7;

struct FakeSaverPlatform {
    FakeSaverPlatform();
    ~FakeSaverPlatform();
    // Windows 1234 and `parent` exist; the foreground window is 99.
    std::string commandLine;
    bool versionOk = true, keyExists = true, cursorOk = true, ime = false;
    DWORD platformId = VER_PLATFORM_WIN32_NT, tick = 0;
    INT_PTR dialogResult = 5;
    int runResult = 7, timers = 0, quitCode = 0;
    BOOL dialogClasses = TRUE, verdict = FALSE;
    std::function<void()> duringRun, duringPrompt;
    std::set<std::string> found = {"MPR.DLL", "PwdChangePasswordA", "PASSWORD.CPL", "VerifyScreenSavePwd"};
    std::vector<BYTE> setting = {1, 0, 0, 0};  // ScreenSaveUsePassword's bytes
    POINT cursor = {100, 100};
    RECT screen = {0, 0, 1024, 768}, host = {0, 0, 152, 112};
    uintptr_t runningSaver = 0, created = 0x500, parent = 0x900;
    ATOM atom = 1;
    std::deque<MSG> queue;

    // What the system saw. `mode`: "run <parent>", "box <owner>", "pwd <owner>".
    std::string mode, window;  // window: "ex title style x,y wxh parent"
    UINT exitCode = 0xDEAD;
    LPTOP_LEVEL_EXCEPTION_FILTER filter = nullptr;
    std::map<std::string, int> loaded;  // libraries loaded and not yet freed
    bool running = false;
    int openKeys = 0, prompts = 0, hides = 0, sleeps = 0, quit = -1;
    std::vector<std::string> posts;  // "window message wParam lParam"
    WNDCLASSA registered = {};
    uintptr_t front = 0, imeContext = 0x77;
    std::vector<UINT> passed;  // messages handed to the program's procedure

    EntryPlatform entry_;
    CloseRulesPlatform rules_;
    PasswordHooksPlatform hooks_;
    SaverWindowPlatform window_;
};
