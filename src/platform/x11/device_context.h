// What an HDC stands for on Linux: the display and drawable that the OpenGL
// context draws into, and the font selected into it, for the bitmap font's
// share of GDI. Whoever owns the drawable owns this record; an HDC is a
// pointer to it.
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
};

inline HDC ToHdc(X11DeviceContext* dc) { return reinterpret_cast<HDC>(dc); }
inline X11DeviceContext* FromHdc(HDC hdc) { return reinterpret_cast<X11DeviceContext*>(hdc); }
