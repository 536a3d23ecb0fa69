// The close rules' table over a world of this object's, with the framework's
// values as a fresh process has them: a cursor, a tick, a password
// verifier and its prompt, and what the system saw. A sent message runs through the window's
// procedure, which ends in the framework's default handling; the system's own
// default answers DEFAULT_RESULT.
#pragma once

#include <functional>
#include <tuple>
#include <vector>

#include "framework/close_rules.h"
#include "platform/close_rules.h"
#include "support/framework_state.h"

// A posted message: window, message, wParam, lParam.
using Posted = std::tuple<HWND, UINT, WPARAM, LPARAM>;

// Told apart from every answer that the framework gives itself.
constexpr LRESULT DEFAULT_RESULT = 42;

class FakeCloseRules {
public:
    FakeCloseRules() : saved_(CloseRules)
    {
        ResetFrameworkState();
        current = this;
        CloseRules = {
            .PostMessageA =
                [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) WINAPI {
                    current->posts.emplace_back(window, message, wParam, lParam);
                    return TRUE;
                },
            .GetCursorPos =
                [](POINT* position) WINAPI {
                    *position = current->cursor;
                    return TRUE;
                },
            .SetCursor =
                [](HCURSOR cursor) WINAPI {
                    if (cursor == nullptr) ++current->hides;
                    return HCURSOR(nullptr);
                },
            .GetTickCount = []() WINAPI { return current->tick; },
            // Counts the calls that take a pending timer message.
            .PeekMessageA =
                [](MSG*, HWND, UINT first, UINT last, UINT remove) WINAPI {
                    if (first == WM_TIMER && last == WM_TIMER && (remove & PM_REMOVE) != 0)
                        ++current->timers_taken;
                    return FALSE;
                },
            .SendMessageA =
                [](HWND window, UINT message, WPARAM wParam, LPARAM lParam)
                    WINAPI { return DefaultSaverHandling(window, message, wParam, lParam); },
            .DefWindowProcA = [](HWND, UINT, WPARAM, LPARAM) WINAPI { return DEFAULT_RESULT; },
        };
    }
    ~FakeCloseRules() { CloseRules = saved_; }

    POINT cursor = {0, 0};
    DWORD tick = 0;
    BOOL verdict = FALSE;
    // Runs inside the first prompt, while the check is in progress.
    std::function<void()> during_prompt;
    // What the system saw.
    std::vector<Posted> posts;
    int hides = 0;
    int timers_taken = 0;
    int prompts = 0;

    // The password verifier, answering `verdict`.
    static BOOL WINAPI Verifier(HWND)
    {
        if (++current->prompts == 1 && current->during_prompt) current->during_prompt();
        return current->verdict;
    }

private:
    static inline FakeCloseRules* current = nullptr;
    CloseRulesPlatform saved_;
};
