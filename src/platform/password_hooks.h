// What the password hooks need from beneath: the desktop's password setting
// in the registry, the password control panel reached by name, and the
// system's screen-saver-running flag. Each host fills this in; tests replace
// entries.
#pragma once

#include "platform/win32_api.h"

struct PasswordHooksPlatform {
    LONG(WINAPI* RegOpenKeyA)(HKEY root, LPCSTR subkey, PHKEY key);
    LONG(WINAPI* RegQueryValueExA)
    (HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);
    LONG(WINAPI* RegCloseKey)(HKEY key);
    HMODULE(WINAPI* LoadLibraryA)(LPCSTR name);
    FARPROC(WINAPI* GetProcAddress)(HMODULE module, LPCSTR name);
    BOOL(WINAPI* FreeLibrary)(HMODULE module);
    BOOL(WINAPI* SystemParametersInfoA)(UINT action, UINT uiParam, PVOID pvParam, UINT fWinIni);
};
extern PasswordHooksPlatform PasswordHooks;
