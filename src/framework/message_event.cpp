#include "framework/message_event.h"

std::optional<SaverEvent> SaverEventFromWin32(UINT message, WPARAM wParam, CursorReader read_cursor)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return SaverEvent{.input = SaverInput::KeyDown};
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        return SaverEvent{.input = SaverInput::ButtonDown};
    case WM_MOUSEMOVE: {
        POINT cursor{};
        if (!read_cursor(&cursor)) break;
        return SaverEvent{.input = SaverInput::PointerAt, .pointer = cursor};
    }
    case WM_ACTIVATEAPP:
        // wParam 0: the application loses activation.
        if (wParam == 0) return SaverEvent{.input = SaverInput::FocusLost};
        break;
    case WM_POWER:
        if (wParam == PWR_CRITICALRESUME) return SaverEvent{.input = SaverInput::CriticalResume};
        break;
    case WM_POWERBROADCAST:
        return SaverEvent{.input = SaverInput::PowerBroadcast};
    default:
        break;
    }
    return std::nullopt;
}
