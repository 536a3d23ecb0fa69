// What the bitmap font needs from the host's graphics layer: the device's
// resolution, the font mapper and the conversion of a selected font's glyphs
// into OpenGL display lists. On Windows these are GDI and WGL themselves; the
// X11 host stands in for them. Tests replace entries.
#pragma once

#include "platform/wintypes.h"

struct GdiPlatform {
    int(WINAPI* GetDeviceCaps)(HDC hdc, int index);
    int(WINAPI* MulDiv)(int number, int numerator, int denominator);
    HFONT(WINAPI* CreateFontA)
    (int height, int width, int escapement, int orientation, int weight, DWORD italic,
     DWORD underline, DWORD strike_out, DWORD char_set, DWORD output_precision,
     DWORD clip_precision, DWORD quality, DWORD pitch_and_family, LPCSTR face_name);
    HGDIOBJ(WINAPI* SelectObject)(HDC hdc, HGDIOBJ object);
    BOOL(WINAPI* wglUseFontBitmapsA)(HDC hdc, DWORD first, DWORD count, DWORD list_base);
    BOOL(WINAPI* DeleteObject)(HGDIOBJ object);
};
extern GdiPlatform Gdi;
