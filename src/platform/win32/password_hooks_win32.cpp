#include "platform/password_hooks.h"

PasswordHooksPlatform PasswordHooks = {
    .RegOpenKeyA = RegOpenKeyA,
    .RegQueryValueExA = RegQueryValueExA,
    .RegCloseKey = RegCloseKey,
    .LoadLibraryA = LoadLibraryA,
    .GetProcAddress = GetProcAddress,
    .FreeLibrary = FreeLibrary,
    .SystemParametersInfoA = SystemParametersInfoA,
};
