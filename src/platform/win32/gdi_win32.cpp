#include "platform/gdi.h"

GdiPlatform Gdi = {
    GetDeviceCaps, MulDiv, CreateFontA, SelectObject, wglUseFontBitmapsA, DeleteObject,
};
