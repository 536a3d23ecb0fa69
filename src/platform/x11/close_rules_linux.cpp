// The close rules' operations on Linux: the X11 window layer's queue, cursor
// and default handling, and a millisecond tick that wraps like Windows'.
#include <time.h>

#include "platform/close_rules.h"
#include "platform/x11/x11_windows.h"

namespace {
// Milliseconds of CLOCK_MONOTONIC cut to 32 bits, so that they wrap like the
// Windows tick count.
DWORD MonotonicTick()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return DWORD(uint64_t(now.tv_sec) * 1000u + uint64_t(now.tv_nsec) / 1000000u);
}
}  // namespace

CloseRulesPlatform CloseRules = {
    X11PostMessageA,
    X11GetCursorPos,
    X11SetCursor,
    MonotonicTick,
    X11PeekMessageA,
    X11SendMessageA,
    X11DefWindowProcA,
};
