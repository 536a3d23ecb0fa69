// The scene drawn by real OpenGL (Mesa on the private X display), read back
// pixel by pixel, and the bitmap font built from the server's fonts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "flyer.h"
#include "platform/gdi.h"
#include "platform/gl.h"
#include "render.h"
#include "support/gl_context.h"
#include "support/scene_state.h"

namespace {

constexpr int WIDTH = 640;
constexpr int HEIGHT = 480;

class RenderGlTest : public testing::Test {
protected:
    void SetUp() override
    {
        // Death tests start afresh in a new process rather than a fork that
        // would share this one's X connection.
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        ResetSceneState();
        ASSERT_TRUE(gl_.ok()) << "no GLX context on display '" << TestDisplayName() << "'";
    }
    void TearDown() override { ResetSceneState(); }

    struct Rgb {
        int r, g, b;
    };
    Rgb At(const std::vector<unsigned char>& pixels, int x, int y) const
    {
        const size_t i = (size_t(y) * WIDTH + x) * 3;
        return {pixels[i], pixels[i + 1], pixels[i + 2]};
    }

    GlContext gl_{WIDTH, HEIGHT};
};

TEST_F(RenderGlTest, EmptyTableDrawsABlackFrame)
{
    CRender::Init(gl_.hdc());
    // Something else in the buffer first, so that the clear has work to do.
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    CRender::Resize(WIDTH, HEIGHT);
    CRender::Draw();
    const std::vector<unsigned char> pixels = gl_.ReadPixels();
    size_t lit = 0;
    for (unsigned char v : pixels) lit += v != 0;
    EXPECT_EQ(lit, 0u);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    CRender::Close();
}

TEST_F(RenderGlTest, OneFlyerShowsBothMaterialsLitOnBlack)
{
    CRender::Init(gl_.hdc());
    CRender::Resize(WIDTH, HEIGHT);
    CFlyer* flyer = new CFlyer;
    flyer->position.Set(0.0, 0.0, -3.0);
    flyer->angle = 0.0;
    FlyerSlots[0] = flyer;
    CRender::Draw();
    const std::vector<unsigned char> pixels = gl_.ReadPixels();

    // The middle of the body, under the centre of the view, is yellow peel.
    const Rgb centre = At(pixels, WIDTH / 2, HEIGHT / 2);
    EXPECT_GT(centre.r, 120);
    EXPECT_GT(centre.g, 120);
    EXPECT_LT(centre.b, centre.g / 2);
    // The corners are far outside the model.
    for (int x : {0, WIDTH - 1})
        for (int y : {0, HEIGHT - 1}) {
            const Rgb c = At(pixels, x, y);
            EXPECT_EQ(c.r + c.g + c.b, 0) << x << "," << y;
        }
    // Somewhere along the body the dark brown ends show, lit but not yellow.
    int brown = 0, yellow = 0;
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x) {
            const Rgb c = At(pixels, x, y);
            if (c.r > 30 && c.r < 190 && c.r > c.g && c.g > c.b && c.b > 0.4 * c.r) ++brown;
            if (c.r > 120 && c.g > 120 && c.b < c.g / 2) ++yellow;
        }
    EXPECT_GT(brown, 20);
    EXPECT_GT(yellow, 500);
    CRender::Close();
}

TEST_F(RenderGlTest, ProjectionKeepsTheHorizontalFieldNearNinetyDegrees)
{
    struct Case {
        int w, h;
        double vertical_degrees;
    };
    const Case cases[] = {{640, 480, 67.5}, {480, 640, 120.0}, {500, 500, 90.0}};
    CRender::Init(gl_.hdc());
    for (const Case& c : cases) {
        CRender::Resize(c.w, c.h);
        CRender::Draw();
        double p[16];
        glGetDoublev(GL_PROJECTION_MATRIX, p);
        const double degrees = 2.0 * std::atan(1.0 / p[5]) * 180.0 / M_PI;
        // OpenGL keeps the matrix in single precision.
        EXPECT_NEAR(degrees, c.vertical_degrees, 1e-4) << c.w << "x" << c.h;
        EXPECT_NEAR(p[5] / p[0], double(c.w) / c.h, 1e-6);
        // Near 0.1 and far 20 give these depth terms.
        EXPECT_NEAR(p[10], -(20.0 + 0.1) / (20.0 - 0.1), 1e-6);
        EXPECT_NEAR(p[14], -2.0 * 20.0 * 0.1 / (20.0 - 0.1), 1e-6);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], c.w);
        EXPECT_EQ(viewport[3], c.h);
    }
    CRender::Close();
}

TEST_F(RenderGlTest, MisuseEndsTheProcess)
{
    EXPECT_EXIT(CRender::Resize(0, 100), testing::ExitedWithCode(1), "render.cpp \\([0-9]+\\) Assert: w > 0\n");
    EXPECT_EXIT(CRender::Resize(100, -1), testing::ExitedWithCode(1), "Assert: h > 0\n");
    EXPECT_EXIT(CRender::Draw(), testing::ExitedWithCode(1), "render.cpp \\([0-9]+\\) Assert: ScreenHeight > 0\n");
    EXPECT_EXIT(CRender::Init(NULL), testing::ExitedWithCode(1), "Assert: hdc != NULL\n");
    EXPECT_EXIT(
        {
            CRender::Init(gl_.hdc());
            CFlyer::CreateDisplayList();
        },
        testing::ExitedWithCode(1), "flyer.cpp \\([0-9]+\\) Assert: DisplayListId == 0\n");
}

// --- The bitmap font --------------------------------------------------------

// The font calls, each logged with its arguments; also marked on standard
// error, where a death test can see them.
int PixelsPerInch = 96;
std::vector<std::string>* FontLog = nullptr;
HFONT const FAKE_FONT = reinterpret_cast<HFONT>(0x1234);
HDC LoggedDc = NULL;

void Called(const char* format, ...)
{
    char text[160];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    FontLog->push_back(text);
    std::fprintf(stderr, "[%s]", text);
}
const char* Dc(HDC hdc) { return hdc == LoggedDc ? "dc" : "other-dc"; }
const char* Object(HGDIOBJ object) { return object == reinterpret_cast<HGDIOBJ>(FAKE_FONT) ? "font" : "?"; }

class BitmapFontTest : public RenderGlTest {
protected:
    void SetUp() override
    {
        RenderGlTest::SetUp();
        saved_ = Gdi;
        FontLog = &log_;
        LoggedDc = gl_.hdc();
    }
    void TearDown() override
    {
        Gdi = saved_;
        FontLog = nullptr;
        RenderGlTest::TearDown();
    }
    void Fake()
    {
        Gdi.GetDeviceCaps = [](HDC hdc, int index) WINAPI {
            Called("GetDeviceCaps(%s, %d)", Dc(hdc), index);
            return index == LOGPIXELSY ? PixelsPerInch : 0;
        };
        Gdi.CreateFontA = [](int height, int width, int escapement, int orientation, int weight, DWORD italic,
                             DWORD underline, DWORD strike_out, DWORD char_set, DWORD output_precision,
                             DWORD clip_precision, DWORD quality, DWORD pitch_and_family, LPCSTR face) WINAPI {
            Called("CreateFontA(%d, %d, %d, %d, %d, %lu, %lu, %lu, %lu, %lu, %lu, %lu, %lu, %s)", height, width,
                   escapement, orientation, weight, italic, underline, strike_out, char_set, output_precision,
                   clip_precision, quality, pitch_and_family, face);
            return FAKE_FONT;
        };
        Gdi.SelectObject = [](HDC hdc, HGDIOBJ object) WINAPI {
            Called("SelectObject(%s, %s)", Dc(hdc), Object(object));
            return HGDIOBJ(NULL);
        };
        Gdi.wglUseFontBitmapsA = [](HDC hdc, DWORD first, DWORD count, DWORD base) WINAPI {
            Called("wglUseFontBitmapsA(%s, %lu, %lu, %lu)", Dc(hdc), first, count, base);
            return TRUE;
        };
        Gdi.DeleteObject = [](HGDIOBJ object) WINAPI {
            Called("DeleteObject(%s)", Object(object));
            return TRUE;
        };
    }
    std::vector<std::string> log_;
    GdiPlatform saved_;
};

// Twelve points (or any size) of "Times" at the device's resolution, 96
// glyph lists from the space on; closing deletes the font once and keeps the
// list base.
TEST_F(BitmapFontTest, BuildsTimesAtTheDevicesResolutionAndClosesOnce)
{
    struct Case {
        int pixels_per_inch, point_size, height;
    };
    const Case cases[] = {{96, 12, -16}, {120, 12, -20}, {72, 12, -12}, {96, 10, -13}};
    Fake();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pixels_per_inch << " dpi, " << c.point_size << " points");
        log_.clear();
        PixelsPerInch = c.pixels_per_inch;
        CBitmapFont font;
        font.Init(gl_.hdc(), c.point_size);
        ASSERT_NE(font.CharDisplayList, 0u);
        EXPECT_EQ(font.DeviceContext, gl_.hdc());
        EXPECT_EQ(font.FontHandle, FAKE_FONT);
        const std::vector<std::string> built = {
            "GetDeviceCaps(dc, 90)",
            "CreateFontA(" + std::to_string(c.height) + ", 0, 0, 0, 400, 0, 0, 0, 0, 4, 0, 4, 0, Times)",
            "SelectObject(dc, font)",
            "wglUseFontBitmapsA(dc, 32, 96, " + std::to_string(font.CharDisplayList) + ")",
        };
        EXPECT_EQ(log_, built);
        const unsigned base = font.CharDisplayList;
        log_.clear();
        font.Close();
        font.Close();
        EXPECT_EQ(log_, std::vector<std::string>{"DeleteObject(font)"});
        EXPECT_EQ(font.FontHandle, (HFONT)NULL);
        EXPECT_EQ(font.CharDisplayList, base);
    }
}

TEST_F(BitmapFontTest, ServerFontsFillNinetySixGlyphLists)
{
    // The real X11 font builder: "Times" where the server has it, its default
    // font for a face that it lacks.
    for (const char* face : {"Times", "No Such Face"}) {
        HFONT font = Gdi.CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_TT_PRECIS,
                                     CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
        ASSERT_NE(font, (HFONT)NULL);
        Gdi.SelectObject(gl_.hdc(), reinterpret_cast<HGDIOBJ>(font));
        const GLuint base = glGenLists(96);
        EXPECT_TRUE(Gdi.wglUseFontBitmapsA(gl_.hdc(), 32, 96, base)) << face;
        int lists = 0;
        for (GLuint i = 0; i < 96; ++i) lists += glIsList(base + i) ? 1 : 0;
        EXPECT_EQ(lists, 96) << face;
        // A glyph advances the raster position by its width.
        glRasterPos2i(0, 0);
        glCallList(base + ('M' - 32));
        GLfloat position[4];
        glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
        EXPECT_GT(position[0], 0.0f) << face;
        EXPECT_TRUE(Gdi.DeleteObject(reinterpret_cast<HGDIOBJ>(font)));
        glDeleteLists(base, 96);
    }
    CBitmapFont font;
    font.Init(gl_.hdc(), 12);
    ASSERT_NE(font.CharDisplayList, 0u);
    EXPECT_TRUE(glIsList(font.CharDisplayList) && glIsList(font.CharDisplayList + 95));
    font.Close();
    EXPECT_FALSE(glIsList(font.CharDisplayList) || glIsList(font.CharDisplayList + 95));
}

TEST_F(BitmapFontTest, MisuseEndsTheProcessBeforeAnythingIsBuilt)
{
    Fake();
    CBitmapFont font;
    // The trace must hold the assertion and nothing from the font builder.
    EXPECT_EXIT(font.Init(NULL, 12), testing::ExitedWithCode(1),
                "^[^[\n]*bitmapfont.cpp \\([0-9]+\\) Assert: hdc != NULL\n$");
    EXPECT_EXIT(font.Init(gl_.hdc(), 0), testing::ExitedWithCode(1), "Assert: point_size > 0\n");
    EXPECT_EXIT(font.Close(), testing::ExitedWithCode(1), "bitmapfont.cpp \\([0-9]+\\) Assert: CharDisplayList != 0\n");
}

}  // namespace
