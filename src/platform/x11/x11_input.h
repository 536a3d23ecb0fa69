// An X event as the saver's input event: the X11 floor's share of the close
// rule.
#pragma once

#include <X11/Xlib.h>

#include <optional>

#include "framework/close_rule.h"

// The event that `event` stands for, if any. `keyboard_grabbed` tells
// whether the saver holds the keyboard, which decides what a focus change
// means.
std::optional<SaverEvent> SaverEventFromX11(const XEvent& event, bool keyboard_grabbed);
