#include "framework/close_rules.h"

#include "framework/close_rule.h"
#include "framework/entry.h"
#include "framework/message_event.h"
#include "framework/password_hooks.h"
#include "platform/close_rules.h"

BOOL PreviewMode = FALSE;
UINT AutoPlayMessage = 0;

BOOL CloseGranted = FALSE;
BOOL CheckInProgress = FALSE;
DWORD LastCheckTick = NO_CHECK_TICK;
POINT LastCursorPos = {0, 0};

namespace {
void PostClose(HWND window) { CloseRules.PostMessageA(window, WM_CLOSE, 0, 0); }

void HideCursor() { CloseRules.SetCursor(nullptr); }

// A failed read leaves the reference where it was rather than judging or
// storing a position that was never read.
void ResetCursorReference()
{
    POINT cursor{};
    if (CloseRules.GetCursorPos(&cursor)) LastCursorPos = cursor;
}

void ApplyCloseRule(HWND window, const SaverEvent& event)
{
    const CloseDecision decision = DecideClose(event, LastCursorPos);
    LastCursorPos = decision.reference;
    if (decision.close) PostClose(window);
}

// The input and system events of full-screen saving, and the cursor's
// hiding. Returns true when the message is answered here, with its result in
// *result.
bool HandleInputEvent(HWND window, UINT message, WPARAM wParam, LRESULT* result)
{
    if (const auto event = SaverEventFromWin32(message, wParam, CloseRules.GetCursorPos)) {
        ApplyCloseRule(window, *event);
        return false;
    }
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam != 0) HideCursor();
        break;
    case WM_SETCURSOR:
        HideCursor();
        *result = 1;
        return true;
    default:
        break;
    }
    return false;
}

// The rules that apply while saving full-screen and not yet granted a close.
bool ApplyCloseRules(HWND window, UINT message, WPARAM wParam, LRESULT* result)
{
    if (message == WM_CLOSE) {
        if (Win9xFamily && !VerifyBeforeClose(window)) {
            // Refused: the travel that led here must not close again at once.
            ResetCursorReference();
            *result = 0;
            return true;
        }
        return false;
    }
    // Answered ahead of the in-progress test: this is the request that the
    // check itself sends.
    if (message == SAVER_VERIFY_MSG) {
        if (!Win9xFamily) return false;
        *result = VerifyPasswordFn != nullptr ? VerifyPasswordFn(window) : 1;
        return true;
    }
    if (CheckInProgress) return false;
    return HandleInputEvent(window, message, wParam, result);
}
}  // namespace

DWORD ElapsedTicks(DWORD start, DWORD now) { return DWORD(now - start); }

BOOL VerifyBeforeClose(HWND window)
{
    if (CheckInProgress) return FALSE;
    if (VerifyPasswordFn == nullptr) {
        CloseGranted = TRUE;
        return TRUE;
    }
    const DWORD now = CloseRules.GetTickCount();
    if (LastCheckTick != NO_CHECK_TICK && ElapsedTicks(LastCheckTick, now) < RECHECK_GATE_MS)
        return FALSE;

    CheckInProgress = TRUE;
    // Timer messages that piled up would only run frames behind the prompt.
    MSG pending;
    for (int removed = 0; removed < 2; ++removed)
        CloseRules.PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    const LRESULT verdict = CloseRules.SendMessageA(window, SAVER_VERIFY_MSG, 0, 0);
    CloseGranted = verdict != 0;
    CheckInProgress = FALSE;
    if (!CloseGranted) HideCursor();
    LastCheckTick = CloseRules.GetTickCount();
    return CloseGranted;
}

LRESULT DefaultSaverHandling(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!PreviewMode && !CloseGranted) {
        LRESULT result = 0;
        if (ApplyCloseRules(window, message, wParam, &result)) return result;
    }
    if (AutoPlayMessage != 0 && message == AutoPlayMessage) {
        ApplyCloseRule(window, SaverEvent{.input = SaverInput::AutoPlayQuery});
        // 1 asks the shell to cancel AutoPlay, which only matters while a
        // password guards the desktop.
        return VerifyPasswordFn != nullptr ? 1 : 0;
    }
    return CloseRules.DefWindowProcA(window, message, wParam, lParam);
}
