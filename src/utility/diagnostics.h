// Self-checks and the trace channel.
//
// ASSERT(condition) is live in every build: a false condition ends the process
// with exit code 1 after the warning sound. Trace() writes only in a build
// configured with LUMENFALL_TRACE; in the release build it does nothing.
#pragma once

#include "platform/wintypes.h"

// Tolerance of the floating-point checks: a value passes "x > -EPSILON".
constexpr double EPSILON = 0.0001;

[[noreturn]] void Assert(const char* expression, const char* file, int line);
[[noreturn]] void Assert_Response(const char* message);
void Trace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

#define ASSERT(condition)                                         \
    do {                                                          \
        if (!(condition)) Assert(#condition, __FILE__, __LINE__); \
    } while (0)

// What the checks need from the host: the warning sound, the debugger and the
// place where trace text goes. Each host fills this in with its real calls;
// tests may replace entries.
struct DiagnosticsPlatform {
    BOOL(WINAPI* MessageBeep)(UINT type);
    BOOL(WINAPI* IsDebuggerPresent)(void);
    void(WINAPI* DebugBreak)(void);
    void (*WriteTrace)(const char* text);
};
extern DiagnosticsPlatform Diagnostics;
