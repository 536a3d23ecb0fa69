// What the close rules need from beneath: posting and sending window
// messages, the cursor, the wrapping millisecond tick and the system's default
// message handling. Each host fills this in; tests replace entries.
#pragma once

#include "platform/win32_api.h"

struct CloseRulesPlatform {
    BOOL(WINAPI* PostMessageA)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL(WINAPI* GetCursorPos)(POINT* position);
    HCURSOR(WINAPI* SetCursor)(HCURSOR cursor);
    DWORD(WINAPI* GetTickCount)(void);
    BOOL(WINAPI* PeekMessageA)(MSG* message, HWND window, UINT first, UINT last, UINT remove);
    LRESULT(WINAPI* SendMessageA)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT(WINAPI* DefWindowProcA)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
extern CloseRulesPlatform CloseRules;
