// The frame-rate text's glyphs without X fonts: fontconfig finds a face for
// the font the scene asks for, and FreeType draws its glyphs as 1-bit
// bitmaps laid out as glBitmap takes them.
#pragma once

#include <string>
#include <vector>

struct FontRequestWayland {
    std::string family;
    // As GDI takes it: below 0 the em height in pixels, above 0 the cell's
    // (ascent plus descent).
    int height = 0;
    bool bold = false;
    bool italic = false;
};

struct GlyphBitmap {
    int width = 0, rows = 0;
    // glBitmap's origin (from the bitmap's lower left corner to the pen) and
    // the pen's advance, in pixels.
    float x_origin = 0, y_origin = 0, advance = 0;
    // The bottom row first, (width + 7) / 8 bytes a row, the leftmost pixel
    // in the high bit of a byte.
    std::vector<unsigned char> bits;
};

// The file (and face within it) that fontconfig matches the request with;
// false when there is none at all.
bool MatchFontFileWayland(const FontRequestWayland& request, std::string* file, int* index);

// The glyphs of codes first to first + count - 1; false when FreeType cannot
// read the face. A code the face lacks gets its missing-glyph box.
bool RenderGlyphsWayland(const std::string& file, int index, int height, unsigned first,
                         unsigned count, std::vector<GlyphBitmap>* glyphs);

// A 1-bit bitmap of FreeType's (rows `pitch` bytes apart from the top, a
// negative pitch when the buffer holds the bottom row first) turned over
// into glBitmap's order.
std::vector<unsigned char> FlipMonoBitmap(const unsigned char* buffer, int pitch, int width,
                                          int rows);
