// What an HDC stands for on the X11 host: the display and drawable that an
// OpenGL context draws into, the device's vertical resolution, the font
// selected into it and the window's pixel format. Whoever owns the drawable
// owns this record; an HDC is a pointer to it.
#pragma once

#include <X11/Xlib.h>

#include "platform/wintypes.h"

struct X11Font;

struct X11DeviceContext {
    Display* display = nullptr;
    Drawable drawable = 0;
    // Pixels per logical inch (LOGPIXELSY); 0 takes it from the screen's size.
    int pixels_per_inch_y = 0;
    X11Font* selected_font = nullptr;
    // The window's pixel format once SetPixelFormat has chosen it: a 1-based
    // index into the screen's GLX frame-buffer configurations (0: none yet).
    int pixel_format = 0;
    // The visual the window was created with (0 for the screen).
    VisualID visual = 0;
};

inline HDC ToHdc(X11DeviceContext* dc) { return reinterpret_cast<HDC>(dc); }
inline X11DeviceContext* FromHdc(HDC hdc) { return reinterpret_cast<X11DeviceContext*>(hdc); }
