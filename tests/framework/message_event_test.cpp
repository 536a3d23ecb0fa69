// Window messages as the saver's input events: one row for each message (and
// each condition on its parameter) that the translation knows. What the events
// then decide is the close rule's table (close_rule_test.cpp).
#include <gtest/gtest.h>

#include "framework/message_event.h"

namespace {
constexpr POINT CURSOR = {321, 123};
constexpr WPARAM SUSPEND_REQUEST = 1;

BOOL WINAPI ReadCursor(POINT* position)
{
    *position = CURSOR;
    return TRUE;
}
BOOL WINAPI FailToReadCursor(POINT*) { return FALSE; }

struct MessageCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    CursorReader read_cursor;
    std::optional<SaverInput> input;  // none: the message is no input event
};

// WM_ACTIVATEAPP's wParam FALSE: the application loses activation.
const MessageCase MESSAGE_CASES[] = {
    {"key", WM_KEYDOWN, 'A', ReadCursor, SaverInput::KeyDown},
    {"system_key", WM_SYSKEYDOWN, 'A', ReadCursor, SaverInput::KeyDown},
    {"left_button", WM_LBUTTONDOWN, 0, ReadCursor, SaverInput::ButtonDown},
    {"right_button", WM_RBUTTONDOWN, 0, ReadCursor, SaverInput::ButtonDown},
    {"middle_button", WM_MBUTTONDOWN, 0, ReadCursor, SaverInput::ButtonDown},
    {"mouse_move", WM_MOUSEMOVE, 0, ReadCursor, SaverInput::PointerAt},
    {"mouse_move_unread", WM_MOUSEMOVE, 0, FailToReadCursor, std::nullopt},
    {"deactivated", WM_ACTIVATEAPP, FALSE, ReadCursor, SaverInput::FocusLost},
    {"critical_resume", WM_POWER, PWR_CRITICALRESUME, ReadCursor, SaverInput::CriticalResume},
    {"suspend_request", WM_POWER, SUSPEND_REQUEST, ReadCursor, std::nullopt},
    {"power_broadcast", WM_POWERBROADCAST, 0, ReadCursor, SaverInput::PowerBroadcast},
};

TEST(MessageEvent, TranslatesTheInputMessages)
{
    for (const MessageCase& row : MESSAGE_CASES) {
        SCOPED_TRACE(row.name);
        const auto event = SaverEventFromWin32(row.message, row.wParam, row.read_cursor);
        const std::optional<SaverInput> input = event ? std::optional(event->input) : std::nullopt;
        EXPECT_EQ(input, row.input);
    }
}
}  // namespace
