// The entry's operations on Linux. The command line, the program's module,
// dynamic loading and process exit are real. Linux is no member of the
// Windows 95/98 family, so the version query reports no Windows at all.
// Window handles are X window ids, judged by the X11 window layer, and the
// configuration dialog is a GTK window. A Linux process has no structured faults
// and no screen-saver-running flag for a fault to leave switched on, so the
// fault filter is accepted and never consulted.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/entry.h"
#include "platform/x11/message_box.h"
#include "platform/x11/shared_library_linux.h"
#include "platform/x11/x11_windows.h"

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

BOOL NoWindowsVersion(LPOSVERSIONINFOA) { return FALSE; }
LPTOP_LEVEL_EXCEPTION_FILTER NoFaultFilter(LPTOP_LEVEL_EXCEPTION_FILTER) { return nullptr; }
void ExitWithCode(UINT code) { std::exit(int(code)); }
}  // namespace

EntryPlatform Entry = {
    ProcessCommandLine,
    NextByte,
    FindLoadedSharedLibrary,
    NoWindowsVersion,
    X11IsWindow,
    X11GetForegroundWindow,
    GtkAboutBox,
    LoadSharedLibrary,
    FindSharedLibraryRoutine,
    FreeSharedLibrary,
    NoFaultFilter,
    ExitWithCode,
    nullptr,
    nullptr,
    nullptr,
};
