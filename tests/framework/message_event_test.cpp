// Window messages as the saver's input events.
#include <gtest/gtest.h>

#include "framework/message_event.h"

namespace {
constexpr POINT CURSOR = {321, 123};

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

const MessageCase MESSAGE_CASES[] = {
    {"key", WM_KEYDOWN, 'A', ReadCursor, SaverInput::KeyDown},
    {"system_key", WM_SYSKEYDOWN, 0x12, ReadCursor, SaverInput::KeyDown},
    {"left_button", WM_LBUTTONDOWN, 0, ReadCursor, SaverInput::ButtonDown},
    {"right_button", WM_RBUTTONDOWN, 0, ReadCursor, SaverInput::ButtonDown},
    {"middle_button", WM_MBUTTONDOWN, 0, ReadCursor, SaverInput::ButtonDown},
    {"mouse_move", WM_MOUSEMOVE, 0, ReadCursor, SaverInput::PointerAt},
    {"mouse_move_unread", WM_MOUSEMOVE, 0, FailToReadCursor, std::nullopt},
    {"deactivated", WM_ACTIVATEAPP, 0, ReadCursor, SaverInput::FocusLost},
    {"activated", WM_ACTIVATEAPP, 1, ReadCursor, std::nullopt},
    {"critical_resume", WM_POWER, PWR_CRITICALRESUME, ReadCursor, SaverInput::CriticalResume},
    {"other_power_event", WM_POWER, 2, ReadCursor, std::nullopt},
    {"power_broadcast", WM_POWERBROADCAST, 7, ReadCursor, SaverInput::PowerBroadcast},
    {"key_up", WM_KEYDOWN + 1, 'A', ReadCursor, std::nullopt},
    {"set_cursor", WM_SETCURSOR, 0, ReadCursor, std::nullopt},
};

TEST(MessageEvent, TranslatesTheInputMessages)
{
    for (const MessageCase& row : MESSAGE_CASES) {
        SCOPED_TRACE(row.name);
        const std::optional<SaverEvent> event =
            SaverEventFromWin32(row.message, row.wParam, row.read_cursor);
        ASSERT_EQ(event.has_value(), row.input.has_value());
        if (!event) continue;
        EXPECT_EQ(event->input, *row.input);
        if (event->input != SaverInput::PointerAt) continue;
        EXPECT_EQ(event->pointer.x, CURSOR.x);
        EXPECT_EQ(event->pointer.y, CURSOR.y);
    }
}
}  // namespace
