#include "framework/entry.h"

#include "framework/password_hooks.h"
#include "framework/routine.h"
#include "platform/entry.h"

HINSTANCE SaverInstance = nullptr;
BOOL Win9xFamily = FALSE;

namespace {
typedef DWORD(WINAPI* PwdChangePasswordRoutine)(LPCSTR registryKey, HWND owner, DWORD reserved1, DWORD reserved2);

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

bool IsSeparator(char c) { return c == ' ' || c == '-' || c == '/'; }

LPCSTR SkipSpaces(LPCSTR text)
{
    while (*text == ' ') ++text;
    return text;
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
    LPCSTR text = tail;
    while (IsSeparator(*text)) ++text;
    // Bytes from 128 up are negative chars and fall to the default.
    switch (*text) {
    case '\0':
        return ShowConfigureBox(nullptr);
    case 's':
    case 'S':
        return Entry.RunSaver(nullptr);
    case 'p':
    case 'P':
    case 'l':
    case 'L':
        return StartPreview(SkipSpaces(text + 1));
    case 'c':
    case 'C': {
        HWND owner = nullptr;
        if (text[1] == ':') owner = HandleFromNumber(ParseHandle(text + 2));
        return ShowConfigureBox(OwnerOrForeground(owner));
    }
    case 'a':
    case 'A':
        if (!Win9xFamily) return NO_RUN_MODE;
        return StartChangePassword(SkipSpaces(text + 1));
    default:
        return NO_RUN_MODE;
    }
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

    const LPTOP_LEVEL_EXCEPTION_FILTER previous = Entry.SetUnhandledExceptionFilter(SaverFaultFilter);
    const int result = DispatchRunMode(tail != nullptr ? tail : "");
    Entry.SetUnhandledExceptionFilter(previous);
    return result;
}

DWORD ParseHandle(LPCSTR text)
{
    DWORD value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) value = DWORD(value * 10u + DWORD(*text - '0'));
    return value;
}

int StartPreview(LPCSTR text)
{
    const HWND parent = HandleFromNumber(ParseHandle(text));
    if (parent == nullptr || !Entry.IsWindow(parent)) return NO_RUN_MODE;
    return Entry.RunSaver(parent);
}

int ShowConfigureBox(HWND owner)
{
    if (!Entry.RegisterSaverDialogClasses(SaverInstance)) return 0;
    return static_cast<int>(Entry.DialogBoxParamA(SaverInstance, MAKEINTRESOURCEA(CONFIGURE_DIALOG_ID), owner,
                                                  Entry.ScreenSaverConfigureDialog, 0));
}

int StartChangePassword(LPCSTR text)
{
    ChangePassword(OwnerOrForeground(HandleFromNumber(ParseHandle(text))));
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
