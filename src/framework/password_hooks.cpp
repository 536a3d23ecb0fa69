#include "framework/password_hooks.h"

#include <cstdlib>

#include "framework/entry.h"
#include "framework/routine.h"
#include "platform/password_hooks.h"

HMODULE PasswordModule = nullptr;
VerifyScreenSavePwdRoutine VerifyPasswordFn = nullptr;

namespace {
// Whether this process last switched the system's running flag on.
bool SaverRunningOn = false;
bool ExitHookRegistered = false;

// A fatal failure (a failed checked call, a broken assertion) ends the process
// through the runtime's orderly exit, past the unloading of the hook: the
// system must not stay marked as running a saver after it.
void SwitchSaverRunningOffAtExit()
{
    if (SaverRunningOn) SetSaverRunning(false);
}
}  // namespace

void SetSaverRunning(bool on)
{
    if (!Win9xFamily) return;
    // The system hands back the previous state; nothing here needs it.
    DWORD previous = 0;
    PasswordHooks.SystemParametersInfoA(SPI_SCREENSAVERRUNNING, on ? 1 : 0, &previous, 0);
    SaverRunningOn = on;
    if (on && !ExitHookRegistered) {
        ExitHookRegistered = true;
        std::atexit(SwitchSaverRunningOffAtExit);
    }
}

void UnloadPasswordHook()
{
    if (!Win9xFamily || PasswordModule == nullptr) return;
    PasswordHooks.FreeLibrary(PasswordModule);
    PasswordModule = nullptr;
    // Only a found verifier ever switched the running flag on.
    if (VerifyPasswordFn != nullptr) {
        VerifyPasswordFn = nullptr;
        SetSaverRunning(false);
    }
}

void LoadPasswordHook()
{
    if (!Win9xFamily) return;
    if (PasswordModule != nullptr) UnloadPasswordHook();

    HKEY desktop = nullptr;
    if (PasswordHooks.RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &desktop) !=
        ERROR_SUCCESS)
        return;

    // Cleared first: a value of one to three bytes fills only the low bytes,
    // and must be judged on those alone.
    DWORD usePassword = 0;
    DWORD size = sizeof usePassword;
    const LONG queried =
        PasswordHooks.RegQueryValueExA(desktop, "ScreenSaveUsePassword", nullptr, nullptr,
                                       reinterpret_cast<LPBYTE>(&usePassword), &size);
    if (queried == ERROR_SUCCESS && usePassword != 0) {
        PasswordModule = PasswordHooks.LoadLibraryA("PASSWORD.CPL");
        if (PasswordModule != nullptr) {
            VerifyPasswordFn = RoutineFrom<VerifyScreenSavePwdRoutine>(
                PasswordHooks.GetProcAddress(PasswordModule, "VerifyScreenSavePwd"));
            if (VerifyPasswordFn != nullptr) {
                SetSaverRunning(true);
            } else {
                UnloadPasswordHook();
            }
        }
    }
    PasswordHooks.RegCloseKey(desktop);
}
