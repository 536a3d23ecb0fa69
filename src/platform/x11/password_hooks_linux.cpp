// The password hooks' operations on Linux, where the Windows 95/98 family
// never applies and the hooks never call them: there is no registry to read,
// no running flag to set, and the password control panel is not found.
#include "platform/password_hooks.h"
#include "platform/x11/shared_library_linux.h"

namespace {
LONG NoRegistryKey(HKEY, LPCSTR, PHKEY) { return ERROR_FILE_NOT_FOUND; }
LONG NoRegistryValue(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD) { return ERROR_FILE_NOT_FOUND; }
LONG NothingToClose(HKEY) { return ERROR_SUCCESS; }
BOOL NoSystemParameter(UINT, UINT, PVOID, UINT) { return FALSE; }
}  // namespace

PasswordHooksPlatform PasswordHooks = {
    NoRegistryKey,
    NoRegistryValue,
    NothingToClose,
    LoadSharedLibrary,
    FindSharedLibraryRoutine,
    FreeSharedLibrary,
    NoSystemParameter,
};
