#include "platform/password_hooks.h"

PasswordHooksPlatform PasswordHooks = {
    RegOpenKeyA,
    RegQueryValueExA,
    RegCloseKey,
    LoadLibraryA,
    GetProcAddress,
    FreeLibrary,
    SystemParametersInfoA,
};
