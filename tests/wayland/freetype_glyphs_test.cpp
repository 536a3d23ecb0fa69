// The frame-rate text's glyphs on Wayland: FreeType's 1-bit bitmaps turned
// over for glBitmap, and real faces found and drawn at GDI's sizes.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/wayland/freetype_glyphs.h"

namespace {
using Bytes = std::vector<unsigned char>;

struct FlipRow {
    const char* name;
    Bytes buffer;
    int pitch, width, rows;
    Bytes flipped;
};

const FlipRow FLIP_ROWS[] = {
    {"rows_turned_over", {0x80, 0x40, 0x20}, 1, 3, 3, {0x20, 0x40, 0x80}},
    // FreeType pads rows to its pitch; glBitmap wants them packed.
    {"padding_dropped", {0xFF, 0xC0, 0xEE, 0x01, 0x00, 0xEE}, 3, 10, 2, {0x01, 0x00, 0xFF, 0xC0}},
    // A negative pitch: the buffer holds the bottom row first already.
    {"upward_flow", {0x11, 0x22, 0x33}, -1, 8, 3, {0x11, 0x22, 0x33}},
};

TEST(FreeTypeGlyphs, FlipsBitmapsForGlBitmap)
{
    for (const FlipRow& row : FLIP_ROWS) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FlipMonoBitmap(row.buffer.data(), row.pitch, row.width, row.rows), row.flipped);
    }
}

// The glyph of `code` in the face fontconfig gives for the scene's "Times".
GlyphBitmap Glyph(int height, char code)
{
    std::string file;
    int index = 0;
    std::vector<GlyphBitmap> glyphs;
    if (!MatchFontFileWayland({.family = "Times", .height = height}, &file, &index) ||
        !RenderGlyphsWayland(file, index, height, unsigned(code), 1, &glyphs))
        return {};
    return glyphs.front();
}

TEST(FreeTypeGlyphs, DrawsTheFaceAtTheRequestedHeight)
{
    constexpr int EM_40 = -40, CELL_40 = 40;
    const GlyphBitmap em = Glyph(EM_40, 'H');
    ASSERT_GT(em.rows, 0);
    // A capital stands on the baseline and reaches most of the em.
    EXPECT_EQ(em.y_origin, 0);
    EXPECT_GT(em.rows, CELL_40 / 2);
    EXPECT_LT(em.rows, CELL_40);
    EXPECT_EQ(em.bits.size(), size_t(em.rows) * size_t((em.width + 7) / 8));
    // GDI's cell holds ascent and descent, so the same number draws smaller.
    EXPECT_LT(Glyph(CELL_40, 'H').rows, em.rows);
    const GlyphBitmap blank = Glyph(EM_40, ' ');
    EXPECT_EQ(std::count(blank.bits.begin(), blank.bits.end(), 0), long(blank.bits.size()));
    EXPECT_GT(blank.advance, 0);
}

}  // namespace
