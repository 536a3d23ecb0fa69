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

// Windows 95's KERNEL32 has no IsDebuggerPresent, and the system refuses to
// load a program that imports a function its DLLs lack: the call is looked
// up when it is needed, and where it is missing no debugger counts as
// attached.
BOOL WINAPI IsDebuggerPresentWin32()
{
    typedef BOOL(WINAPI * IsDebuggerPresentRoutine)(void);
    const HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    const FARPROC found = kernel != NULL ? GetProcAddress(kernel, "IsDebuggerPresent") : NULL;
    if (found == NULL) return FALSE;
    // Through void(*)(): the compiler then compares no unrelated function types.
    return reinterpret_cast<IsDebuggerPresentRoutine>(reinterpret_cast<void (*)()>(found))();
}
}  // namespace

DiagnosticsPlatform Diagnostics = {
    .MessageBeep = MessageBeep,
    .IsDebuggerPresent = IsDebuggerPresentWin32,
    .DebugBreak = DebugBreak,
    .WriteTrace = WriteTraceWin32,
};
