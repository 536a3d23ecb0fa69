#include "platform/gdi.h"

GdiPlatform Gdi = {
    .GetDeviceCaps = GetDeviceCaps,
    .MulDiv = MulDiv,
    .CreateFontA = CreateFontA,
    .SelectObject = SelectObject,
    .wglUseFontBitmapsA = wglUseFontBitmapsA,
    .DeleteObject = DeleteObject,
};
