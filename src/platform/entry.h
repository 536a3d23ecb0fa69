// What the saver's entry and run-mode dispatch need from beneath: the command
// line, the module and version, windows named by handle, the configuration
// dialog, dynamic loading, the top-level fault filter and process exit.
// The last three entries are the program's own windows (the saver window's
// run and the configuration dialog); the Windows host fills them in, and
// tests replace any entry with a double.
#pragma once

#include "platform/win32_api.h"

struct EntryPlatform {
    LPSTR(WINAPI* GetCommandLineA)(void);
    LPSTR(WINAPI* CharNextA)(LPCSTR text);
    HMODULE(WINAPI* GetModuleHandleA)(LPCSTR name);
    BOOL(WINAPI* GetVersionExA)(LPOSVERSIONINFOA version);
    BOOL(WINAPI* IsWindow)(HWND window);
    HWND(WINAPI* GetForegroundWindow)(void);
    INT_PTR(WINAPI* DialogBoxParamA)
    (HINSTANCE instance, LPCSTR dialog, HWND owner, DLGPROC procedure, LPARAM parameter);
    HMODULE(WINAPI* LoadLibraryA)(LPCSTR name);
    FARPROC(WINAPI* GetProcAddress)(HMODULE module, LPCSTR name);
    BOOL(WINAPI* FreeLibrary)(HMODULE module);
    LPTOP_LEVEL_EXCEPTION_FILTER(WINAPI* SetUnhandledExceptionFilter)
    (LPTOP_LEVEL_EXCEPTION_FILTER filter);
    void(WINAPI* ExitProcess)(UINT code);

    // No parent: full-screen saving; a host window: preview inside it.
    // Returns the saver's message-loop result.
    int (*RunSaver)(HWND parent);
    // Nonzero when the configuration dialog may be shown.
    BOOL (*RegisterSaverDialogClasses)(HINSTANCE instance);
    DLGPROC ScreenSaverConfigureDialog;
};
extern EntryPlatform Entry;
