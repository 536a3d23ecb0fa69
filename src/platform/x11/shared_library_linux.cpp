#include "platform/x11/shared_library_linux.h"

#include <dlfcn.h>

HMODULE LoadSharedLibrary(LPCSTR name) { return static_cast<HMODULE>(dlopen(name, RTLD_NOW | RTLD_LOCAL)); }

HMODULE FindLoadedSharedLibrary(LPCSTR name)
{
    return static_cast<HMODULE>(dlopen(name, RTLD_NOW | (name != nullptr ? RTLD_NOLOAD : 0)));
}

FARPROC FindSharedLibraryRoutine(HMODULE library, LPCSTR name)
{
    return reinterpret_cast<FARPROC>(dlsym(library, name));
}

BOOL FreeSharedLibrary(HMODULE library) { return dlclose(library) == 0; }
