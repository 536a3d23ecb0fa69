// On the Windows 95/98 family the screen-saver password belongs to the
// system: a desktop setting switches it on and the password control panel
// checks it. These hooks load that checker for full-screen saving, tell the
// system while a saver with a password is running, and undo both at the end.
// Everywhere else they do nothing.
#pragma once

#include "platform/win32_api.h"

typedef BOOL(WINAPI* VerifyScreenSavePwdRoutine)(HWND window);

// "PASSWORD.CPL" while it is loaded, else null.
extern HMODULE PasswordModule;
// Its "VerifyScreenSavePwd": non-null exactly while the password is enforced.
extern VerifyScreenSavePwdRoutine VerifyPasswordFn;

void LoadPasswordHook();
void UnloadPasswordHook();
void SetSaverRunning(bool on);
