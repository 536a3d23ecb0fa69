// The calls of the about box that tests need to observe or refuse: opening a
// link through the shell (which a test must never really do), finding the
// system help viewer's hand cursor, and making and deleting the link fonts.
// The Windows host passes them straight through; tests replace entries.
#pragma once

#include "platform/win32_api.h"

struct ConfigureDialogPlatform {
    HINSTANCE(WINAPI* ShellExecuteA)
    (HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show);
    UINT(WINAPI* GetWindowsDirectoryA)(LPSTR buffer, UINT size);
    HMODULE(WINAPI* LoadLibraryA)(LPCSTR name);
    HCURSOR(WINAPI* LoadCursorA)(HINSTANCE module, LPCSTR name);
    HFONT(WINAPI* CreateFontIndirectA)(const LOGFONTA* font);
    BOOL(WINAPI* DeleteObject)(HGDIOBJ object);
};
extern ConfigureDialogPlatform ConfigureDialog;
