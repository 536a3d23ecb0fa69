// The Windows framework's default message handling, in which both of the
// program's window procedures end. It turns input messages into the saver's
// events and posts a close to the window that saw one where the close rule
// (close_rule.h) asks for it; on the Windows 95/98 family a loaded password
// verifier must accept the password before that close goes through. Preview
// ignores all of it.
#pragma once

#include "platform/win32_api.h"

// After a password check ends, close requests are refused for this long.
constexpr DWORD RECHECK_GATE_MS = 200;
// Private message that runs the password verifier through the window itself.
constexpr UINT SAVER_VERIFY_MSG = WM_APP;
// LastCheckTick before the first check.
constexpr DWORD NO_CHECK_TICK = 0xFFFFFFFF;

// Set by the saver window: 1 from the start of a preview run, and the shell's
// AutoPlay query message on the Windows 95/98 family (else 0).
extern BOOL PreviewMode;
extern UINT AutoPlayMessage;

extern BOOL CloseGranted;
extern BOOL CheckInProgress;
extern DWORD LastCheckTick;
extern POINT LastCursorPos;

LRESULT DefaultSaverHandling(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL VerifyBeforeClose(HWND window);
// now - start in wrapping 32-bit milliseconds.
DWORD ElapsedTicks(DWORD start, DWORD now);
