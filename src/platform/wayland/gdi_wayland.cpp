#include "platform/wayland/gdi_wayland.h"

#include <EGL/egl.h>

#include <vector>

#include "platform/gl.h"
#include "platform/linux/gdi_linux.h"
#include "platform/wayland/freetype_glyphs.h"

struct WaylandFont {
    FontRequestWayland request;
    bool matched = false;  // file and index are set
    std::string file;
    int index = 0;
    WaylandDeviceContext* selected_into = nullptr;
};

namespace {
// Fontconfig's own fallback, for a device context without a selected font.
const char DEFAULT_FAMILY[] = "sans-serif";

WaylandDeviceContext* FromHdc(HDC hdc) { return reinterpret_cast<WaylandDeviceContext*>(hdc); }
WaylandFont* FromHandle(HGDIOBJ object) { return reinterpret_cast<WaylandFont*>(object); }

void Realise(WaylandFont* font)
{
    if (!font->matched)
        font->matched = MatchFontFileWayland(font->request, &font->file, &font->index);
}

void CompileLists(const std::vector<GlyphBitmap>& glyphs, DWORD list_base)
{
    // Display lists keep the bitmaps as unpacked when compiled, under this
    // state; the caller's own is put back afterwards.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const GlyphBitmap& glyph = glyphs[i];
        glNewList(GLuint(list_base + i), GL_COMPILE);
        glBitmap(glyph.width, glyph.rows, glyph.x_origin, glyph.y_origin, glyph.advance, 0,
                 glyph.bits.empty() ? nullptr : glyph.bits.data());
        glEndList();
    }
    glPopClientAttrib();
}

int WINAPI GetDeviceCapsWayland(HDC hdc, int index)
{
    const WaylandDeviceContext* dc = FromHdc(hdc);
    if (dc == nullptr || index != LOGPIXELSY) return 0;
    return dc->pixels_per_inch_y;
}

HFONT WINAPI CreateFontAWayland(int height, int, int, int, int weight, DWORD italic, DWORD, DWORD,
                                DWORD, DWORD, DWORD, DWORD, DWORD, LPCSTR face_name)
{
    auto* font = new WaylandFont;
    font->request = {.family = face_name != nullptr ? face_name : "",
                     .height = height,
                     .bold = weight >= FW_BOLD - 100,
                     .italic = italic != 0};
    return reinterpret_cast<HFONT>(font);
}

HGDIOBJ WINAPI SelectObjectWayland(HDC hdc, HGDIOBJ object)
{
    WaylandDeviceContext* dc = FromHdc(hdc);
    WaylandFont* font = FromHandle(object);
    if (dc == nullptr || font == nullptr) return nullptr;
    Realise(font);
    return reinterpret_cast<HGDIOBJ>(SelectFontLinux(dc, font));
}

BOOL WINAPI wglUseFontBitmapsAWayland(HDC hdc, DWORD first, DWORD count, DWORD list_base)
{
    const WaylandDeviceContext* dc = FromHdc(hdc);
    if (dc == nullptr || eglGetCurrentContext() == EGL_NO_CONTEXT) return FALSE;
    WaylandFont fallback;
    fallback.request.family = DEFAULT_FAMILY;
    WaylandFont* font = dc->selected_font != nullptr ? dc->selected_font : &fallback;
    Realise(font);
    std::vector<GlyphBitmap> glyphs;
    if (!font->matched ||
        !RenderGlyphsWayland(font->file, font->index, font->request.height, first, count, &glyphs))
        return FALSE;
    CompileLists(glyphs, list_base);
    return TRUE;
}

BOOL WINAPI DeleteObjectWayland(HGDIOBJ object)
{
    WaylandFont* font = FromHandle(object);
    if (font == nullptr) return FALSE;
    UnselectFontLinux(font);
    delete font;
    return TRUE;
}
}  // namespace

const GdiPlatform GDI_WAYLAND = {
    .GetDeviceCaps = GetDeviceCapsWayland,
    .MulDiv = MulDivLinux,
    .CreateFontA = CreateFontAWayland,
    .SelectObject = SelectObjectWayland,
    .wglUseFontBitmapsA = wglUseFontBitmapsAWayland,
    .DeleteObject = DeleteObjectWayland,
};
