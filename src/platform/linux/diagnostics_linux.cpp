// Linux diagnostics: the terminal bell where standard error is a terminal,
// a debugger found through the tracer of /proc/self/status, and trace text on
// standard error.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "utility/diagnostics.h"

namespace {
BOOL MessageBeepLinux(UINT)
{
    if (isatty(STDERR_FILENO)) {
        std::fputc('\a', stderr);
        std::fflush(stderr);
    }
    return TRUE;
}

BOOL IsDebuggerPresentLinux()
{
    FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) return FALSE;
    char line[256];
    BOOL attached = FALSE;
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, "TracerPid:", 10) == 0) {
            attached = std::atoi(line + 10) != 0;
            break;
        }
    }
    std::fclose(status);
    return attached;
}

void DebugBreakLinux() { raise(SIGTRAP); }

void WriteTraceLinux(const char* text)
{
    std::fputs(text, stderr);
    std::fflush(stderr);
}
}  // namespace

DiagnosticsPlatform Diagnostics = {
    .MessageBeep = MessageBeepLinux,
    .IsDebuggerPresent = IsDebuggerPresentLinux,
    .DebugBreak = DebugBreakLinux,
    .WriteTrace = WriteTraceLinux,
};
