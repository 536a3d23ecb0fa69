// The bitmap font's share of GDI and WGL on Wayland, where there are no X
// fonts: a font is matched through fontconfig as it is selected into a
// device context, as GDI's font mapper realises a logical font, and FreeType
// draws the glyphs that become glBitmap display lists, as on the other hosts.
#pragma once

#include "platform/gdi.h"

struct WaylandFont;

// What an HDC stands for on Wayland: the screen's resolution and the font
// selected into it. The drawing surface is whatever EGL has current.
struct WaylandDeviceContext {
    int pixels_per_inch_y = 96;
    WaylandFont* selected_font = nullptr;
};

inline HDC ToHdc(WaylandDeviceContext* dc) { return reinterpret_cast<HDC>(dc); }

// The table the Wayland host installs in Gdi before the scene starts.
extern const GdiPlatform GDI_WAYLAND;
