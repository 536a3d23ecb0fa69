// The password hooks' table over a world of this object's, with the
// framework's values as a fresh process has them: the desktop's key and its
// ScreenSaveUsePassword bytes, the password control panel and its verifier,
// and the system's screen-saver-running flag.
#pragma once

#include <cstring>
#include <vector>

#include "platform/password_hooks.h"
#include "support/framework_state.h"

// The system as it stands before the hooks run.
struct PasswordSystem {
    bool key_exists = true;
    std::vector<BYTE> setting = {1, 0, 0, 0};
    bool panel_loads = true;
    bool verifier_found = true;
};

struct FakePasswordHooks {
    explicit FakePasswordHooks(const PasswordSystem& system = {})
        : system(system), saved_(PasswordHooks)
    {
        ResetFrameworkState();
        current = this;
        PasswordHooks = {
            .RegOpenKeyA =
                [](HKEY root, LPCSTR subkey, PHKEY key) WINAPI {
                    const bool desktop = root == HKEY_CURRENT_USER && Is(subkey, DESKTOP_KEY);
                    if (!desktop || !current->system.key_exists) return LONG(ERROR_FILE_NOT_FOUND);
                    ++current->open_keys;
                    *key = DESKTOP;
                    return LONG(ERROR_SUCCESS);
                },
            // Writes only the value's own bytes, as the system does; one too
            // long for the buffer leaves it undefined.
            .RegQueryValueExA =
                [](HKEY key, LPCSTR name, LPDWORD, LPDWORD, LPBYTE data, LPDWORD size) WINAPI {
                    const std::vector<BYTE>& value = current->system.setting;
                    if (key != DESKTOP || !Is(name, "ScreenSaveUsePassword"))
                        return LONG(ERROR_FILE_NOT_FOUND);
                    const bool fits = value.size() <= *size;
                    if (fits) std::memcpy(data, value.data(), value.size());
                    if (!fits) std::memset(data, 0xFF, *size);
                    *size = DWORD(value.size());
                    return LONG(fits ? ERROR_SUCCESS : ERROR_MORE_DATA);
                },
            .RegCloseKey =
                [](HKEY) WINAPI {
                    --current->open_keys;
                    return LONG(ERROR_SUCCESS);
                },
            .LoadLibraryA =
                [](LPCSTR name) WINAPI {
                    if (!Is(name, "PASSWORD.CPL") || !current->system.panel_loads)
                        return HMODULE(nullptr);
                    ++current->libraries_held;
                    return PANEL;
                },
            .GetProcAddress =
                [](HMODULE module, LPCSTR name) WINAPI {
                    const bool found = module == PANEL && Is(name, "VerifyScreenSavePwd");
                    return found && current->system.verifier_found ? VERIFIER : FARPROC(nullptr);
                },
            .FreeLibrary =
                [](HMODULE) WINAPI {
                    --current->libraries_held;
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

    PasswordSystem system;
    // What the system holds: the running flag, open keys and loaded panels.
    bool running = false;
    int open_keys = 0;
    int libraries_held = 0;

    static BOOL WINAPI Verifier(HWND) { return TRUE; }
    static inline const FARPROC VERIFIER =
        reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&Verifier));
    static bool Is(LPCSTR text, const char* expected) { return std::strcmp(text, expected) == 0; }
    static inline const char DESKTOP_KEY[] = "Control Panel\\Desktop";
    static inline const HKEY DESKTOP = reinterpret_cast<HKEY>(uintptr_t(0x2000));
    static inline const HMODULE PANEL = reinterpret_cast<HMODULE>(uintptr_t(0xC91));
    static inline FakePasswordHooks* current = nullptr;
    PasswordHooksPlatform saved_;
};
