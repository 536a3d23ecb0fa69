#include "platform/close_rules.h"

CloseRulesPlatform CloseRules = {
    .PostMessageA = PostMessageA,
    .GetCursorPos = GetCursorPos,
    .SetCursor = SetCursor,
    .GetTickCount = GetTickCount,
    .PeekMessageA = PeekMessageA,
    .SendMessageA = SendMessageA,
    .DefWindowProcA = DefWindowProcA,
};
