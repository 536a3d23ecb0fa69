#include "bitmapfont.h"

#include "platform/gdi.h"
#include "platform/gl.h"
#include "utility/diagnostics.h"

namespace {
constexpr DWORD FIRST_CHAR = 32;
constexpr DWORD CHAR_COUNT = 96;
const char FACE_NAME[] = "Times";
constexpr int POINTS_PER_INCH = 72;
}  // namespace

CBitmapFont::CBitmapFont() : CharDisplayList(0), DeviceContext(NULL), FontHandle(NULL) {}

CBitmapFont::~CBitmapFont() {}

void CBitmapFont::Init(HDC hdc, int point_size)
{
    ASSERT(hdc != NULL);
    ASSERT(point_size > 0);
    DeviceContext = hdc;
    CharDisplayList = glGenLists(CHAR_COUNT);
    // Negative: the font mapper matches the character (em) height, rounded to
    // whole pixels at the device's resolution.
    const int height =
        -Gdi.MulDiv(point_size, Gdi.GetDeviceCaps(DeviceContext, LOGPIXELSY), POINTS_PER_INCH);
    FontHandle = Gdi.CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_TT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, FACE_NAME);
    Gdi.SelectObject(DeviceContext, reinterpret_cast<HGDIOBJ>(FontHandle));
    Gdi.wglUseFontBitmapsA(DeviceContext, FIRST_CHAR, CHAR_COUNT, CharDisplayList);
}

void CBitmapFont::Close()
{
    ASSERT(CharDisplayList != 0);
    glDeleteLists(CharDisplayList, CHAR_COUNT);
    if (FontHandle != NULL) {
        Gdi.DeleteObject(reinterpret_cast<HGDIOBJ>(FontHandle));
        FontHandle = NULL;
    }
}
