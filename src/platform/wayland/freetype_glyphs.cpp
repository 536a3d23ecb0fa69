#include "platform/wayland/freetype_glyphs.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdlib>
#include <cstring>

namespace {
// What GDI's font mapper takes for a height of 0.
constexpr int DEFAULT_PIXEL_HEIGHT = 12;
constexpr int FIXED_26_6_ONE = 64;

FT_Size_RequestRec SizeRequest(int height)
{
    // FreeType's cell is the face's ascender plus descender, as GDI's is.
    const int pixels = height == 0 ? DEFAULT_PIXEL_HEIGHT : std::abs(height);
    return {height > 0 ? FT_SIZE_REQUEST_TYPE_CELL : FT_SIZE_REQUEST_TYPE_NOMINAL, 0,
            FT_Long(pixels) * FIXED_26_6_ONE, 0, 0};
}

GlyphBitmap GlyphOf(FT_Face face, unsigned code)
{
    GlyphBitmap glyph;
    if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return glyph;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.advance = float((slot->advance.x + FIXED_26_6_ONE / 2) / FIXED_26_6_ONE);
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO || bitmap.buffer == nullptr) return glyph;
    glyph.width = int(bitmap.width);
    glyph.rows = int(bitmap.rows);
    glyph.x_origin = float(-slot->bitmap_left);
    glyph.y_origin = float(glyph.rows - slot->bitmap_top);
    glyph.bits = FlipMonoBitmap(bitmap.buffer, bitmap.pitch, glyph.width, glyph.rows);
    return glyph;
}

bool Match(const FontRequestWayland& request, std::string* file, int* index)
{
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return false;
    if (!request.family.empty())
        FcPatternAddString(pattern, FC_FAMILY,
                           reinterpret_cast<const FcChar8*>(request.family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, request.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE,
                       request.height == 0 ? DEFAULT_PIXEL_HEIGHT : std::abs(request.height));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return false;
    FcChar8* path = nullptr;
    const bool found = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch;
    if (found) {
        *file = reinterpret_cast<const char*>(path);
        if (FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch) *index = 0;
    }
    FcPatternDestroy(match);
    return found;
}
}  // namespace

bool MatchFontFileWayland(const FontRequestWayland& request, std::string* file, int* index)
{
    if (!FcInit()) return false;
    const bool found = Match(request, file, index);
    // The saver matches one font a run: fontconfig's configuration and
    // caches go again at once rather than staying to the process's end.
    FcFini();
    return found;
}

bool RenderGlyphsWayland(const std::string& file, int index, int height, unsigned first,
                         unsigned count, std::vector<GlyphBitmap>* glyphs)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return false;
    FT_Face face = nullptr;
    bool rendered = false;
    if (FT_New_Face(library, file.c_str(), index, &face) == 0) {
        FT_Size_RequestRec size = SizeRequest(height);
        if (FT_Request_Size(face, &size) == 0) {
            glyphs->clear();
            for (unsigned code = first; code < first + count; ++code)
                glyphs->push_back(GlyphOf(face, code));
            rendered = true;
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return rendered;
}

std::vector<unsigned char> FlipMonoBitmap(const unsigned char* buffer, int pitch, int width,
                                          int rows)
{
    const size_t row_bytes = size_t(width + 7) / 8;
    std::vector<unsigned char> bits(row_bytes * size_t(rows));
    // Adding the pitch goes one row down, whichever way the buffer runs.
    const unsigned char* top = pitch >= 0 ? buffer : buffer - ptrdiff_t(pitch) * (rows - 1);
    for (int row = 0; row < rows; ++row)
        std::memcpy(&bits[size_t(rows - 1 - row) * row_bytes], top + ptrdiff_t(row) * pitch,
                    row_bytes);
    return bits;
}
