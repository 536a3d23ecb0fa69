// The scene drawn by real OpenGL (Mesa on the private X display), read back
// pixel by pixel, and the bitmap font built from the server's fonts.
#include <gtest/gtest.h>

#include <cmath>
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

struct FontCalls {
    int pixels_per_inch = 96;
    std::vector<std::string> order;
    std::vector<int> create_ints;
    std::vector<DWORD> create_flags;
    std::string face;
    DWORD first = 0, count = 0, base = 0;
    HDC select_hdc = NULL;
    int deletes = 0;
};
FontCalls* calls = nullptr;

// Each call also leaves a mark on standard error, where a death test can see it.
void Called(const std::string& name)
{
    calls->order.push_back(name);
    std::fprintf(stderr, "[%s]", name.c_str());
}
HFONT const FAKE_FONT = reinterpret_cast<HFONT>(0x1234);

int WINAPI FakeGetDeviceCaps(HDC, int index)
{
    Called("GetDeviceCaps");
    return index == LOGPIXELSY ? calls->pixels_per_inch : 0;
}
HFONT WINAPI FakeCreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                            DWORD underline, DWORD strike_out, DWORD char_set, DWORD output_precision,
                            DWORD clip_precision, DWORD quality, DWORD pitch_and_family, LPCSTR face)
{
    Called("CreateFontA");
    calls->create_ints = {height, width, escapement, orientation, weight};
    calls->create_flags = {italic, underline, strike_out, char_set, output_precision, clip_precision, quality,
                           pitch_and_family};
    calls->face = face;
    return FAKE_FONT;
}
HGDIOBJ WINAPI FakeSelectObject(HDC hdc, HGDIOBJ object)
{
    Called(object == reinterpret_cast<HGDIOBJ>(FAKE_FONT) ? "SelectObject(font)" : "SelectObject");
    calls->select_hdc = hdc;
    return NULL;
}
BOOL WINAPI FakeUseFontBitmaps(HDC, DWORD first, DWORD count, DWORD base)
{
    Called("wglUseFontBitmapsA");
    calls->first = first;
    calls->count = count;
    calls->base = base;
    return TRUE;
}
BOOL WINAPI FakeDeleteObject(HGDIOBJ object)
{
    Called(object == reinterpret_cast<HGDIOBJ>(FAKE_FONT) ? "DeleteObject(font)" : "DeleteObject");
    ++calls->deletes;
    return TRUE;
}

class BitmapFontTest : public RenderGlTest {
protected:
    void SetUp() override
    {
        RenderGlTest::SetUp();
        saved_ = Gdi;
        calls = &calls_;
    }
    void TearDown() override
    {
        Gdi = saved_;
        calls = nullptr;
        RenderGlTest::TearDown();
    }
    void Fake()
    {
        Gdi.GetDeviceCaps = FakeGetDeviceCaps;
        Gdi.CreateFontA = FakeCreateFont;
        Gdi.SelectObject = FakeSelectObject;
        Gdi.wglUseFontBitmapsA = FakeUseFontBitmaps;
        Gdi.DeleteObject = FakeDeleteObject;
    }
    FontCalls calls_;
    GdiPlatform saved_;
};

TEST_F(BitmapFontTest, AsksForTwelvePointTimesAtTheDevicesResolution)
{
    struct Case {
        int pixels_per_inch, point_size, height;
    };
    const Case cases[] = {{96, 12, -16}, {120, 12, -20}, {72, 12, -12}, {96, 10, -13}};
    Fake();
    for (const Case& c : cases) {
        calls_ = FontCalls();
        calls_.pixels_per_inch = c.pixels_per_inch;
        CBitmapFont font;
        font.Init(gl_.hdc(), c.point_size);
        EXPECT_EQ(calls_.create_ints, (std::vector<int>{c.height, 0, 0, 0, FW_NORMAL})) << c.pixels_per_inch;
        EXPECT_EQ(calls_.create_flags, (std::vector<DWORD>{0, 0, 0, 0, 4, 0, 4, 0}));
        EXPECT_EQ(calls_.face, "Times");
        EXPECT_EQ(calls_.order, (std::vector<std::string>{"GetDeviceCaps", "CreateFontA", "SelectObject(font)",
                                                           "wglUseFontBitmapsA"}));
        EXPECT_EQ(calls_.select_hdc, gl_.hdc());
        EXPECT_EQ(font.DeviceContext, gl_.hdc());
        EXPECT_EQ(font.FontHandle, FAKE_FONT);
        EXPECT_NE(font.CharDisplayList, 0u);
        EXPECT_EQ(calls_.first, 32u);
        EXPECT_EQ(calls_.count, 96u);
        EXPECT_EQ(calls_.base, font.CharDisplayList);
        font.Close();
    }
}

TEST_F(BitmapFontTest, CloseDeletesTheFontOnceAndKeepsTheListBase)
{
    Fake();
    CBitmapFont font;
    font.Init(gl_.hdc(), 12);
    const unsigned base = font.CharDisplayList;
    font.Close();
    EXPECT_EQ(calls_.deletes, 1);
    EXPECT_EQ(font.FontHandle, (HFONT)NULL);
    EXPECT_EQ(font.CharDisplayList, base);
    EXPECT_EQ(font.DeviceContext, gl_.hdc());
    font.Close();
    EXPECT_EQ(calls_.deletes, 1);
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
