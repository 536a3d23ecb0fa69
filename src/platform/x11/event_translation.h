// How X events on the saver's own windows become Win32 messages: keys, mouse
// buttons and motion (each mouse message preceded by WM_SETCURSOR, as Windows
// asks for the cursor shape first), loss of the input focus, and the things
// the window layer acts on itself (exposure, size, destruction). Pure: the
// caller says which windows are its own and looks up the key symbol.
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "platform/wintypes.h"

struct WindowAction {
    enum Kind { Message, Invalidate, Resize, Destroyed };
    Kind kind;
    MSG message;  // Message: the message; the others: hwnd (and Resize: width, height in lParam)
};

inline HWND HandleOfWindow(Window window) { return reinterpret_cast<HWND>(uintptr_t(window)); }
inline Window WindowOfHandle(HWND handle) { return Window(reinterpret_cast<uintptr_t>(handle)); }

// The Win32 virtual-key code of a key symbol; 0 for keys without one here.
WPARAM VirtualKeyOf(KeySym symbol);

// Appends what `event` means for the saver's windows. `ours` tells whether a
// window belongs to this process's window layer; `symbol` is the key symbol
// of a key press (ignored otherwise). Destruction is reported for any window,
// since the host of a preview is not ours.
void TranslateEvent(const XEvent& event, bool (*ours)(Window), KeySym symbol, std::vector<WindowAction>& out);
