// The windows of the X11 host: a window of its own over the whole screen, or
// a child inside a window that a host names, or the root itself; the blank
// cursor and the grabs of full-screen saving; and the search for a
// full-screen saver that already runs.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "platform/linux/command_options.h"
#include "platform/wintypes.h"

struct X11Surface {
    Display* display = nullptr;
    Window root = 0;
    Window host = 0;        // the window drawn inside, when a host names one
    Window window = 0;      // our own window, full screen or a child of the host
    Drawable drawable = 0;  // what GL draws into: our window, or the root itself
    Colormap colormap = 0;
    Cursor blank_cursor = 0;
    bool top_level = false;  // an ordinary window of ours, which follows its own size
    bool keyboard_grabbed = false;
    bool gone = false;       // taken away by its host or another client
    POINT pointer = {0, 0};  // where the pointer was as full-screen saving began

    // The window whose size the drawing follows: the host's, our own
    // ordinary window's, else the screen's.
    Window SizeSource() const { return host != 0 ? host : top_level ? window : root; }
};

// Whether a window titled and classed as a full-screen saver's stands on the
// screen already.
bool FullScreenSaverRunsX11(Display* display, Window root);

// The surface that `options` asks for: a window of our own over the whole
// screen, on top, with the cursor hidden and the keyboard and pointer grabbed
// (it learns where the pointer stands); a child of the host, of our own
// visual, that follows the host's size; an ordinary top-level window titled
// with the product's name, of the geometry asked for, that the window manager
// may close and the user resize; or the root window itself.
void CreateSurfaceX11(X11Surface& surface, const CommandOptions& options, XVisualInfo* visual);

// Asks to be told, before anything is made, of size changes of the window
// the drawing follows and of the host's end. False when that window does not
// exist (any more).
bool WatchSizeSourceX11(X11Surface& surface);

// Whether the host window has gone; a host that went away no longer wants a
// saver. It marks the surface gone.
bool HostVanishedX11(X11Surface& surface);

// Destroys what the surface made, as far as it is still there.
void DestroySurfaceX11(X11Surface& surface);
