// The framework's process-wide values as a fresh process has them: every test
// of the Windows-only code starts from these. And what the doubles of its
// tables share.
#pragma once

#include <tuple>

#include "framework/close_rules.h"
#include "framework/entry.h"
#include "framework/password_hooks.h"
#include "framework/saver_window.h"

inline void ResetFrameworkState()
{
    SaverInstance = nullptr;
    Win9xFamily = FALSE;
    PreviewMode = FALSE;
    AutoPlayMessage = 0;
    CloseGranted = FALSE;
    CheckInProgress = FALSE;
    LastCheckTick = NO_CHECK_TICK;
    LastCursorPos = {0, 0};
    PasswordModule = nullptr;
    VerifyPasswordFn = nullptr;
    SaverWindow = nullptr;
    ImeModule = nullptr;
    ImeAssociateFn = nullptr;
    SavedInputContext = nullptr;
}

// A posted message: window, message, wParam, lParam.
using Posted = std::tuple<HWND, UINT, WPARAM, LPARAM>;
// The system's default answer, told apart from every answer that the
// framework gives itself.
constexpr LRESULT DEFAULT_RESULT = 42;
