// A window message as the saver's input event: the Windows floor's share of
// the close rule.
#pragma once

#include <optional>

#include "framework/close_rule.h"
#include "platform/win32_api.h"

typedef BOOL(WINAPI* CursorReader)(POINT* position);

// The event that `message` stands for, if any. A mouse move is judged by the
// cursor's position as `read_cursor` reads it, not by the message's own
// coordinates, which are client-relative and differ between the saver window
// and the render window; a move whose position cannot be read is no event.
// The AutoPlay query, whose number is known only at run time, is the
// default handling's to translate.
std::optional<SaverEvent> SaverEventFromWin32(UINT message, WPARAM wParam,
                                              CursorReader read_cursor);
