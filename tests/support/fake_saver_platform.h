// One double for the framework's platform tables (entry, close rules, password
// hooks, saver window), installed for the object's life. It keeps what the
// system would keep (loaded libraries, open keys, the running flag, posted
// messages) and answers from the public fields. The framework's process-wide
// values start from their initial state and are put back afterwards.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "framework/close_rules.h"
#include "framework/entry.h"
#include "framework/password_hooks.h"
#include "framework/saver_window.h"
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
    // The world. Windows 1234, `parent` and a `runningSaver` other than 0xDEAD exist; the
    // foreground window is 99; `found` names libraries, routines and the calls that succeed
    // ("version", "classes" for the dialog classes, "dialog"); `setting` is ScreenSaveUsePassword's
    // bytes. The screen spans (-10,-20)-(1270,1004), the preview's host is 152x112. What the system
    // saw. mode: "run <parent>", "box <owner>" or "pwd <owner>"; window: "ex-style title style x,y
    // wxh parent"; posts: "window message wParam lParam"; loaded: libraries not yet freed; passed:
    // messages handed to the program's procedure; dcs: device contexts not yet released.
    std::string commandLine, mode, window;
    bool keyExists = true, cursorOk = true, ime = false, running = false;
    BOOL verdict = FALSE;
    DWORD platformId = VER_PLATFORM_WIN32_NT, tick = 0;
    int runResult = 7, timers = 0, quitCode = 5, openKeys = 0, prompts = 0, hides = 0, sleeps = 0,
        translated = 0, quit = -1, dcs = 0;
    UINT exitCode = 0xDEAD;
    std::function<void()> duringRun, duringPrompt;
    std::set<std::string> found = {"MPR.DLL",      "PwdChangePasswordA",
                                   "PASSWORD.CPL", "VerifyScreenSavePwd",
                                   "version",      "classes",
                                   "dialog"};
    std::vector<BYTE> setting = {1, 0, 0, 0};
    POINT cursor = {0, 0};
    uintptr_t runningSaver = 0, created = 0x500, parent = 0x900, front = 0, imeContext = 0x77;
    ATOM atom = 1;
    std::deque<MSG> queue;
    std::vector<std::string> posts;
    std::map<std::string, int> loaded;
    LPTOP_LEVEL_EXCEPTION_FILTER filter = nullptr;
    WNDCLASSA registered = {};
    std::vector<UINT> passed;
    EntryPlatform entry_ = Entry;
    CloseRulesPlatform rules_ = CloseRules;
    PasswordHooksPlatform hooks_ = PasswordHooks;
    SaverWindowPlatform window_ = SaverWindowOps;
};
