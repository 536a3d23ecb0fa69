// The close rules' operations on Linux. The millisecond tick is real; the
// cursor and the window messages belong to the X11 window layer, and until it
// takes these entries over every such call reports failure.
#include <time.h>

#include "platform/close_rules.h"

namespace {
BOOL NoWindowToPost(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
BOOL NoCursor(POINT*) { return FALSE; }
HCURSOR NoCursorShape(HCURSOR) { return nullptr; }
BOOL NoPendingMessage(MSG*, HWND, UINT, UINT, UINT) { return FALSE; }
LRESULT NoWindowToAnswer(HWND, UINT, WPARAM, LPARAM) { return 0; }

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
    NoWindowToPost,
    NoCursor,
    NoCursorShape,
    MonotonicTick,
    NoPendingMessage,
    NoWindowToAnswer,
    NoWindowToAnswer,
};
