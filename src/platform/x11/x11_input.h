// An X event as the saver's input event: the X11 floor's share of the close
// rule.
#pragma once

#include <X11/Xlib.h>

#include <optional>

#include "framework/close_rule.h"

struct X11InputContext {
    // Whether the saver holds the keyboard, which decides what a focus
    // change means.
    bool keyboard_grabbed = false;
    // How the window manager asks a window of ours to close.
    Atom wm_protocols = 0;
    Atom wm_delete_window = 0;
    // The key's symbol: XLookupKeysym, which reads the server's keyboard map.
    KeySym (*key_symbol)(XKeyEvent* event, int index) = XLookupKeysym;
};

// The context of the saver's windows on `display`.
X11InputContext InputContextX11(Display* display, bool keyboard_grabbed);

// The event that `event` stands for, if any.
std::optional<SaverEvent> SaverEventFromX11(const XEvent& event, const X11InputContext& context);
