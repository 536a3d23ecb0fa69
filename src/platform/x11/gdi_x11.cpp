// The X11 stand-in for the bitmap font's share of GDI and WGL. A font is a
// request (face, pixel height, weight, slant) that is matched against the
// server's core fonts when it is selected into a device context, as GDI's
// font mapper realises a logical font; glXUseXFont turns its glyphs into
// display lists.
#include "platform/gdi.h"
#include "platform/linux/gdi_linux.h"
#include "platform/x11/device_context.h"

// After the Win32 names: GL's header leaves an APIENTRY that is defined alone.
#include <GL/glx.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <string>

struct X11Font {
    std::string family;  // lower case, as core font names spell it
    int pixel_height = 0;
    bool bold = false;
    bool italic = false;
    Display* display = nullptr;  // set once loaded
    XFontStruct* loaded = nullptr;
    X11DeviceContext* selected_into = nullptr;
};

namespace {
// Every server has this one; it stands in for any face that is missing.
const char DEFAULT_FONT[] = "fixed";
constexpr int MAX_LISTED_FONTS = 500;
constexpr int XLFD_PIXEL_SIZE_FIELD = 7;

X11Font* FromHandle(HGDIOBJ object) { return reinterpret_cast<X11Font*>(object); }

std::string Pattern(const X11Font& font, const std::string& size)
{
    return "-*-" + font.family + (font.bold ? "-bold-" : "-medium-") + (font.italic ? "i" : "r") +
           "-normal--" + size + "-*-*-*-*-*-iso8859-1";
}

int PixelSizeOf(const char* name)
{
    // Fields are separated by '-'; the name starts with one.
    int field = 0;
    for (const char* p = name; *p != '\0'; ++p) {
        if (*p == '-' && ++field == XLFD_PIXEL_SIZE_FIELD) return std::atoi(p + 1);
    }
    return -1;
}

// The installed size of the face nearest to the requested one; a scalable
// face (size 0) is taken at the requested size.
std::string ClosestName(Display* display, const X11Font& font)
{
    int count = 0;
    char** names = XListFonts(display, Pattern(font, "*").c_str(), MAX_LISTED_FONTS, &count);
    std::string best;
    int best_gap = INT_MAX;
    for (int i = 0; i < count; ++i) {
        const int size = PixelSizeOf(names[i]);
        if (size < 0) continue;
        const int gap = size == 0 ? 0 : std::abs(size - font.pixel_height);
        if (gap < best_gap) {
            best_gap = gap;
            best = size == 0 ? Pattern(font, std::to_string(font.pixel_height)) : names[i];
        }
    }
    if (names != nullptr) XFreeFontNames(names);
    return best;
}

void Realise(X11Font* font, Display* display)
{
    if (font->loaded != nullptr) return;
    font->display = display;
    const std::string name = ClosestName(display, *font);
    if (!name.empty()) font->loaded = XLoadQueryFont(display, name.c_str());
    if (font->loaded == nullptr) font->loaded = XLoadQueryFont(display, DEFAULT_FONT);
}

int WINAPI GetDeviceCapsX11(HDC hdc, int index)
{
    X11DeviceContext* dc = FromHdc(hdc);
    if (dc == nullptr || index != LOGPIXELSY) return 0;
    if (dc->pixels_per_inch_y > 0) return dc->pixels_per_inch_y;
    const int screen = DefaultScreen(dc->display);
    return PixelsPerInchLinux(DisplayHeight(dc->display, screen),
                              DisplayHeightMM(dc->display, screen));
}

HFONT WINAPI CreateFontAX11(int height, int, int, int, int weight, DWORD italic, DWORD, DWORD,
                            DWORD, DWORD, DWORD, DWORD, DWORD, LPCSTR face_name)
{
    X11Font* font = new X11Font;
    for (const char* p = face_name != nullptr ? face_name : ""; *p != '\0'; ++p)
        font->family += char(std::tolower((unsigned char)*p));
    if (font->family.empty()) font->family = "*";
    // Negative heights ask for the character (em) height, positive ones for
    // the cell; core fonts are sized by the em, which serves for both.
    font->pixel_height = height == 0 ? 12 : std::abs(height);
    font->bold = weight >= FW_BOLD - 100;
    font->italic = italic != 0;
    return reinterpret_cast<HFONT>(font);
}

HGDIOBJ WINAPI SelectObjectX11(HDC hdc, HGDIOBJ object)
{
    X11DeviceContext* dc = FromHdc(hdc);
    X11Font* font = FromHandle(object);
    if (dc == nullptr || font == nullptr) return nullptr;
    Realise(font, dc->display);
    return reinterpret_cast<HGDIOBJ>(SelectFontLinux(dc, font));
}

BOOL WINAPI wglUseFontBitmapsAX11(HDC hdc, DWORD first, DWORD count, DWORD list_base)
{
    X11DeviceContext* dc = FromHdc(hdc);
    if (dc == nullptr || glXGetCurrentContext() == nullptr) return FALSE;
    // A device context without a selected font draws with the default one.
    XFontStruct* font = dc->selected_font != nullptr ? dc->selected_font->loaded : nullptr;
    XFontStruct* fallback = nullptr;
    if (font == nullptr) font = fallback = XLoadQueryFont(dc->display, DEFAULT_FONT);
    if (font == nullptr) return FALSE;
    glXUseXFont(font->fid, int(first), int(count), int(list_base));
    if (fallback != nullptr) XFreeFont(dc->display, fallback);
    return TRUE;
}

BOOL WINAPI DeleteObjectX11(HGDIOBJ object)
{
    X11Font* font = FromHandle(object);
    if (font == nullptr) return FALSE;
    // X does not mind freeing a font that a device context still names, but
    // the record would dangle: the device context falls back to its default.
    UnselectFontLinux(font);
    if (font->loaded != nullptr) XFreeFont(font->display, font->loaded);
    delete font;
    return TRUE;
}
}  // namespace

GdiPlatform Gdi = {
    .GetDeviceCaps = GetDeviceCapsX11,
    .MulDiv = MulDivLinux,
    .CreateFontA = CreateFontAX11,
    .SelectObject = SelectObjectX11,
    .wglUseFontBitmapsA = wglUseFontBitmapsAX11,
    .DeleteObject = DeleteObjectX11,
};
