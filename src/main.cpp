// The program's window procedures and the checked platform call. The about
// box lives in configure_dialog.cpp; the saver and render windows join here.
#include "main.h"

#include <cstdio>
#include <cstdlib>

#include "utility/diagnostics.h"

namespace {
// Room for the longest call name with " failed."; a longer name is cut short
// rather than overrunning the buffer.
constexpr size_t CHECK_MESSAGE_SIZE = 500;
}  // namespace

void CheckResult(INT_PTR result, INT_PTR failure_value, const char* function_name)
{
    // Checked before the result: a call site without a name is a fault even
    // when its call succeeded.
    ASSERT(function_name != NULL);
    if (result != failure_value) return;

    char text[CHECK_MESSAGE_SIZE];
    std::snprintf(text, sizeof text, "%s failed.", function_name);
    MessageBoxA(NULL, text, "Lumenfall", MB_ICONERROR | MB_OK | MB_APPLMODAL);
    // The orderly exit, so that exit-time hooks still run; nothing is torn
    // down first.
    std::exit(1);
}
