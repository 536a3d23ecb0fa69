// Pixel formats on the X11 host: a format number is a 1-based index into the
// screen's GLX frame-buffer configurations, and a window can take only the
// formats of the visual it was created with, since X fixes a window's visual
// at creation.
#pragma once

#include <X11/Xutil.h>

#include "platform/wintypes.h"

// The visual of the format that the saver's windows ask for (double-buffered
// RGBA, 8 bits a colour, a depth buffer), at the screen's default depth where
// one exists. False when the server offers no such OpenGL visual.
bool PreferredWindowVisual(Display* display, XVisualInfo* visual);

int WINAPI X11ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor);
BOOL WINAPI X11SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor);
int WINAPI X11DescribePixelFormat(HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR* descriptor);
