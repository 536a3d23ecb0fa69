// Libraries reached by name at run time, for the Linux tables: the dynamic
// loader stands in for LoadLibraryA, GetModuleHandleA, GetProcAddress and
// FreeLibrary. The system components of the Windows 95/98 family have no
// Linux counterpart, so looking them up here simply finds nothing.
#pragma once

#include "platform/wintypes.h"

HMODULE LoadSharedLibrary(LPCSTR name);
// GetModuleHandleA: the library only if the process has it loaded already
// (no name: the program itself).
HMODULE FindLoadedSharedLibrary(LPCSTR name);
FARPROC FindSharedLibraryRoutine(HMODULE library, LPCSTR name);
BOOL FreeSharedLibrary(HMODULE library);
