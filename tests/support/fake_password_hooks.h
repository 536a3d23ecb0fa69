// The password hooks' table over a world of this object's: the desktop's key
// and its ScreenSaveUsePassword bytes, the password control panel and its
// verifier, and the system's screen-saver-running flag.
#pragma once

#include <cstring>
#include <vector>

#include "platform/password_hooks.h"

class FakePasswordHooks {
public:
    FakePasswordHooks() : saved_(PasswordHooks)
    {
        current = this;
        PasswordHooks = {
            .RegOpenKeyA =
                [](HKEY root, LPCSTR subkey, PHKEY key) WINAPI {
                    const bool desktop = root == HKEY_CURRENT_USER && Is(subkey, DESKTOP_KEY);
                    if (!desktop || !current->key_exists) return LONG(ERROR_FILE_NOT_FOUND);
                    ++current->open_keys;
                    *key = DESKTOP;
                    return LONG(ERROR_SUCCESS);
                },
            .RegQueryValueExA =
                [](HKEY key, LPCSTR name, LPDWORD, LPDWORD, LPBYTE data, LPDWORD size) WINAPI {
                    const std::vector<BYTE>& value = current->setting;
                    if (key != DESKTOP || !Is(name, "ScreenSaveUsePassword") || value.empty())
                        return LONG(ERROR_FILE_NOT_FOUND);
                    // Too long for the buffer: what it then holds is undefined.
                    const bool fits = value.size() <= *size;
                    std::memset(data, fits ? 0 : 0xFF, *size);
                    if (fits) std::memcpy(data, value.data(), value.size());
                    *size = DWORD(value.size());
                    return LONG(fits ? ERROR_SUCCESS : ERROR_MORE_DATA);
                },
            .RegCloseKey =
                [](HKEY key) WINAPI {
                    if (key == DESKTOP) --current->open_keys;
                    return LONG(ERROR_SUCCESS);
                },
            .LoadLibraryA =
                [](LPCSTR name) WINAPI {
                    if (!Is(name, "PASSWORD.CPL") || !current->panel_loads) return HMODULE(nullptr);
                    ++current->libraries_held;
                    return PANEL;
                },
            .GetProcAddress =
                [](HMODULE module, LPCSTR name) WINAPI {
                    const bool found = module == PANEL && Is(name, "VerifyScreenSavePwd");
                    return found && current->verifier_found ? VERIFIER : FARPROC(nullptr);
                },
            .FreeLibrary =
                [](HMODULE module) WINAPI {
                    if (module == PANEL) --current->libraries_held;
                    return TRUE;
                },
            .SystemParametersInfoA =
                [](UINT action, UINT on, PVOID, UINT) WINAPI {
                    if (action == SPI_SCREENSAVERRUNNING) current->running = on != 0;
                    return TRUE;
                },
        };
    }
    ~FakePasswordHooks() { PasswordHooks = saved_; }

    bool key_exists = true;
    std::vector<BYTE> setting = {1, 0, 0, 0};
    bool panel_loads = true;
    bool verifier_found = true;
    // What the system holds: the running flag, open keys and loaded panels.
    bool running = false;
    int open_keys = 0;
    int libraries_held = 0;

    static BOOL WINAPI Verifier(HWND) { return TRUE; }
    static inline const FARPROC VERIFIER =
        reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&Verifier));

private:
    static bool Is(LPCSTR text, const char* expected) { return std::strcmp(text, expected) == 0; }
    static inline const char DESKTOP_KEY[] = "Control Panel\\Desktop";
    static inline const HKEY DESKTOP = reinterpret_cast<HKEY>(uintptr_t(0x2000));
    static inline const HMODULE PANEL = reinterpret_cast<HMODULE>(uintptr_t(0xC91));
    static inline FakePasswordHooks* current = nullptr;
    PasswordHooksPlatform saved_;
};
