// The entry's operations on Linux. The command line, the program's module,
// dynamic loading and process exit are real. Linux is no member of the
// Windows 95/98 family, so the version query reports no Windows at all.
// Windows named by handle and the configuration dialog belong to the X11
// window layer; until it takes these entries over, no handle names a window
// and the dialog cannot be created. A Linux process has no structured faults
// and no screen-saver-running flag for a fault to leave switched on, so the
// fault filter is accepted and never consulted.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/entry.h"
#include "platform/x11/shared_library_linux.h"

namespace {
// The arguments joined as Windows writes a command line: a program path that
// holds a blank is quoted.
LPSTR ProcessCommandLine()
{
    static std::string line;
    if (!line.empty()) return &line[0];
    std::FILE* file = std::fopen("/proc/self/cmdline", "rb");
    if (file != nullptr) {
        std::string argument;
        bool first = true;
        for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
            if (c != '\0') {
                argument += char(c);
                continue;
            }
            if (!first) line += ' ';
            if (first && argument.find(' ') != std::string::npos) {
                line += '"' + argument + '"';
            } else {
                line += argument;
            }
            argument.clear();
            first = false;
        }
        std::fclose(file);
    }
    line.push_back('\0');
    return &line[0];
}

LPSTR NextByte(LPCSTR text) { return const_cast<LPSTR>(*text != '\0' ? text + 1 : text); }

HMODULE ModuleHandle(LPCSTR name)
{
    return static_cast<HMODULE>(dlopen(name, RTLD_NOW | (name != nullptr ? RTLD_NOLOAD : 0)));
}

BOOL NoWindowsVersion(LPOSVERSIONINFOA) { return FALSE; }
BOOL NoWindowYet(HWND) { return FALSE; }
HWND NoForegroundWindow() { return nullptr; }
INT_PTR DialogUnavailable(HINSTANCE, LPCSTR, HWND, DLGPROC, LPARAM) { return -1; }
LPTOP_LEVEL_EXCEPTION_FILTER NoFaultFilter(LPTOP_LEVEL_EXCEPTION_FILTER) { return nullptr; }
void ExitWithCode(UINT code) { std::exit(int(code)); }
}  // namespace

EntryPlatform Entry = {
    ProcessCommandLine,
    NextByte,
    ModuleHandle,
    NoWindowsVersion,
    NoWindowYet,
    NoForegroundWindow,
    DialogUnavailable,
    LoadSharedLibrary,
    FindSharedLibraryRoutine,
    FreeSharedLibrary,
    NoFaultFilter,
    ExitWithCode,
    nullptr,
    nullptr,
    nullptr,
};
