#include "framework/entry.h"

#include "framework/password_hooks.h"
#include "framework/routine.h"
#include "platform/entry.h"

HINSTANCE SaverInstance = nullptr;
BOOL Win9xFamily = FALSE;

namespace {
typedef DWORD(WINAPI* PwdChangePasswordRoutine)(LPCSTR registryKey, HWND owner, DWORD reserved1,
                                                DWORD reserved2);

static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record's size as the system expects it");

// Result of a command line that selects no mode, and of a preview without a
// host window.
constexpr int NO_RUN_MODE = -1;

BOOL ReadWin9xFamily()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return Entry.GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

// The configuration box and the password change never fail for want of an
// owner: a missing or stale one gives way to the foreground window.
HWND OwnerOrForeground(HWND owner)
{
    if (owner == nullptr || !Entry.IsWindow(owner)) return Entry.GetForegroundWindow();
    return owner;
}

int DispatchRunMode(LPCSTR tail)
{
    const RunRequest request = ParseCommandTail(tail);
    switch (request.mode) {
    case RunMode::ConfigureUnowned:
        return ShowConfigureBox(nullptr);
    case RunMode::FullScreen:
        return Entry.RunSaver(nullptr);
    case RunMode::Preview:
        return StartPreview(HandleFromNumber(request.handle));
    case RunMode::Configure:
        return ShowConfigureBox(OwnerOrForeground(HandleFromNumber(request.handle)));
    case RunMode::ChangePassword:
        if (!Win9xFamily) return NO_RUN_MODE;
        return StartChangePassword(HandleFromNumber(request.handle));
    case RunMode::None:
        break;
    }
    return NO_RUN_MODE;
}

// The fault guard. A fault that escapes a run mode reaches the system's
// unhandled-fault filter, which consults this one only when the fault is to
// end the process (not when a debugger is attached). The running flag goes
// off before the system reports the fault and ends the process with the
// fault's code.
LONG WINAPI SaverFaultFilter(EXCEPTION_POINTERS*)
{
    SetSaverRunning(false);
    return EXCEPTION_CONTINUE_SEARCH;
}
}  // namespace

void SaverEntry()
{
    LPCSTR text = Entry.GetCommandLineA();
    if (*text == '"') {
        text = Entry.CharNextA(text);
        while (*text != '\0' && *text != '"') text = Entry.CharNextA(text);
        if (*text == '"') text = Entry.CharNextA(text);
    } else {
        // Unsigned: bytes from 128 up belong to the name.
        while (static_cast<unsigned char>(*text) > ' ') text = Entry.CharNextA(text);
    }
    while (*text != '\0' && static_cast<unsigned char>(*text) <= ' ') text = Entry.CharNextA(text);
    Entry.ExitProcess(static_cast<UINT>(SaverMain(Entry.GetModuleHandleA(nullptr), text)));
}

int SaverMain(HINSTANCE instance, LPCSTR tail)
{
    SaverInstance = instance;
    Win9xFamily = ReadWin9xFamily();

    const LPTOP_LEVEL_EXCEPTION_FILTER previous =
        Entry.SetUnhandledExceptionFilter(SaverFaultFilter);
    const int result = DispatchRunMode(tail);
    Entry.SetUnhandledExceptionFilter(previous);
    return result;
}

int StartPreview(HWND parent)
{
    if (parent == nullptr || !Entry.IsWindow(parent)) return NO_RUN_MODE;
    return Entry.RunSaver(parent);
}

int ShowConfigureBox(HWND owner)
{
    if (!Entry.RegisterSaverDialogClasses(SaverInstance)) return 0;
    return static_cast<int>(Entry.DialogBoxParamA(SaverInstance,
                                                  MAKEINTRESOURCEA(CONFIGURE_DIALOG_ID), owner,
                                                  Entry.ScreenSaverConfigureDialog, 0));
}

int StartChangePassword(HWND owner)
{
    ChangePassword(OwnerOrForeground(owner));
    return 0;
}

void ChangePassword(HWND owner)
{
    const HMODULE library = Entry.LoadLibraryA("MPR.DLL");
    if (library == nullptr) return;
    const auto change =
        RoutineFrom<PwdChangePasswordRoutine>(Entry.GetProcAddress(library, "PwdChangePasswordA"));
    // The dialog's answer changes nothing here.
    if (change != nullptr) change("SCRSAVE", owner, 0, 0);
    Entry.FreeLibrary(library);
}
