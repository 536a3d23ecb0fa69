#include "platform/close_rules.h"

CloseRulesPlatform CloseRules = {
    PostMessageA,
    GetCursorPos,
    SetCursor,
    GetTickCount,
    PeekMessageA,
    SendMessageA,
    DefWindowProcA,
};
