#include "utility/diagnostics.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr size_t ASSERT_MESSAGE_SIZE = 1024;
}

void Assert(const char* expression, const char* file, int line)
{
    if (expression == nullptr || file == nullptr) {
        Trace("Assert() param error.\n");
        std::exit(1);
    }
    // A message longer than the buffer is cut short; the text it keeps is
    // still NUL-terminated.
    char message[ASSERT_MESSAGE_SIZE];
    std::snprintf(message, sizeof message, "%s (%d) Assert: %s\n", file, line, expression);
    Assert_Response(message);
}

void Assert_Response(const char* message)
{
    if (message == nullptr) {
        Trace("Assert_Response() param error.\n");
        std::exit(1);
    }
    // The message carries a source path, which may contain '%': it is traced
    // as text, never used as a format.
    Trace("%s", message);
    Diagnostics.MessageBeep(MB_ICONEXCLAMATION);
    if (Diagnostics.IsDebuggerPresent()) Diagnostics.DebugBreak();
    std::exit(1);
}

void Trace(const char* format, ...)
{
#ifdef LUMENFALL_TRACE
    char text[ASSERT_MESSAGE_SIZE + 64];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    Diagnostics.WriteTrace(text);
#else
    (void)format;
#endif
}
