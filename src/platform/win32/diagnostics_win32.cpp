#include <cstdio>

#include "utility/diagnostics.h"

namespace {
// Debug output for a debugger or DebugView, and standard error for a console
// or a test that captures it.
void WriteTraceWin32(const char* text)
{
    OutputDebugStringA(text);
    std::fputs(text, stderr);
    std::fflush(stderr);
}
}  // namespace

DiagnosticsPlatform Diagnostics = {
    MessageBeep,
    IsDebuggerPresent,
    DebugBreak,
    WriteTraceWin32,
};
