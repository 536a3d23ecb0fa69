// The close rules' table over a world of this object's: a cursor that may be
// unreadable, a tick, pending timer messages, and the messages posted. A sent
// message runs through the window's procedure, which ends in the framework's
// default handling; the system's own default answers DEFAULT_RESULT.
#pragma once

#include <vector>

#include "framework/close_rules.h"
#include "platform/close_rules.h"

struct Posted {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Posted&) const = default;
};

// Told apart from every answer that the framework gives itself.
constexpr LRESULT DEFAULT_RESULT = 42;

class FakeCloseRules {
public:
    FakeCloseRules() : saved_(CloseRules), outer_(current)
    {
        current = this;
        CloseRules = {
            .PostMessageA =
                [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) WINAPI {
                    current->posts.push_back({window, message, wParam, lParam});
                    return TRUE;
                },
            .GetCursorPos =
                [](POINT* position) WINAPI {
                    if (current->cursor_readable) *position = current->cursor;
                    return BOOL(current->cursor_readable);
                },
            .SetCursor =
                [](HCURSOR cursor) WINAPI {
                    if (cursor == nullptr) ++current->hides;
                    return HCURSOR(nullptr);
                },
            .GetTickCount = []() WINAPI { return current->tick; },
            // Takes one pending timer message for a call that removes timers.
            .PeekMessageA =
                [](MSG*, HWND, UINT first, UINT last, UINT remove) WINAPI {
                    const bool timers = first <= WM_TIMER && WM_TIMER <= last;
                    if (!timers || (remove & PM_REMOVE) == 0 || current->pending_timers == 0)
                        return FALSE;
                    --current->pending_timers;
                    return TRUE;
                },
            .SendMessageA =
                [](HWND window, UINT message, WPARAM wParam, LPARAM lParam)
                    WINAPI { return DefaultSaverHandling(window, message, wParam, lParam); },
            .DefWindowProcA = [](HWND, UINT, WPARAM, LPARAM) WINAPI { return DEFAULT_RESULT; },
        };
    }
    ~FakeCloseRules()
    {
        CloseRules = saved_;
        current = outer_;
    }

    POINT cursor = {0, 0};
    bool cursor_readable = true;
    DWORD tick = 0;
    int pending_timers = 0;
    // What the system saw: the posted messages and how often the cursor was hidden.
    std::vector<Posted> posts;
    int hides = 0;

private:
    static inline FakeCloseRules* current = nullptr;
    CloseRulesPlatform saved_;
    FakeCloseRules* outer_;
};
