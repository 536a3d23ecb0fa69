// The scene drawn by real OpenGL (Mesa on the private X display) and read
// back, and the bitmap font built from the server's fonts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "flyer.h"
#include "platform/gdi.h"
#include "platform/gl.h"
#include "render.h"
#include "support/gl_context.h"
#include "support/scene_state.h"

namespace {

constexpr int W = 640, H = 480;

struct Box {  // of the lit pixels, y upwards
    int x0 = W, y0 = H, x1 = -1, y1 = -1;
    double cx() const { return (x0 + x1) / 2.0 - W / 2; }
    double cy() const { return (y0 + y1) / 2.0 - H / 2; }
};

class RenderGl : public testing::Test {
protected:
    void SetUp() override
    {
        // A new process, not a fork sharing this one's X connection.
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        ResetSceneState();
        ASSERT_TRUE(gl_.ok()) << "no GLX context on display '" << TestDisplayName() << "'";
        CRender::Init(gl_.hdc());
        CRender::Resize(W, H);
    }
    void TearDown() override { ResetSceneState(); }

    const unsigned char* At(int x, int y) const { return &pixels_[(size_t(y) * W + x) * 3]; }
    void Frame(const std::vector<std::vector<double>>& flyers)  // x, y, z, angle each
    {
        for (CFlyer*& slot : FlyerSlots) delete slot, slot = nullptr;
        for (size_t i = 0; i < flyers.size(); ++i) {
            FlyerSlots[i] = new CFlyer;
            FlyerSlots[i]->position.Set(flyers[i][0], flyers[i][1], flyers[i][2]);
            FlyerSlots[i]->angle = flyers[i][3];
        }
        CRender::Draw();
        pixels_ = gl_.ReadPixels();
    }
    Box Lit(int from, int to) const
    {
        Box b;
        for (int y = 0; y < H; ++y)
            for (int x = from; x < to; ++x)
                if (At(x, y)[0] + At(x, y)[1] + At(x, y)[2] > 0)
                    b = {std::min(b.x0, x), std::min(b.y0, y), std::max(b.x1, x), std::max(b.y1, y)};
        return b;
    }

    GlContext gl_{W, H};
    std::vector<unsigned char> pixels_;
};

TEST_F(RenderGl, EmptySceneIsBlackAndCloseKeepsTheModel)
{
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);  // so that the clear has work to do
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    Frame({});
    EXPECT_EQ(Lit(0, W).x1, -1);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_CULL_FACE) && glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    const unsigned model = CFlyer::DisplayListId, font = BitmapFont.CharDisplayList;
    FlyerSlots[7] = new CFlyer;
    CRender::Close();
    EXPECT_EQ(FlyerSlots[7], nullptr);
    // The model's list goes only with the context, so it cannot be built twice.
    EXPECT_EQ(CFlyer::DisplayListId, model);
    EXPECT_TRUE(glIsList(model));
    EXPECT_FALSE(glIsList(font) || glIsList(font + 95));
    EXPECT_EXIT(CRender::Init(gl_.hdc()), testing::ExitedWithCode(1), "flyer.cpp \\([0-9]+\\) Assert: DisplayListId == 0\n");
}

// A square facing the viewer under light 0, one material term at a time,
// against the lighting model with a global ambient of 0.2 and an infinite
// viewer: the light's ambient 0.1, diffuse 1.2 and specular 0.9 come from
// (-1000, 0, 700) at infinity, the same at every place.
TEST_F(RenderGl, LightIsTheDirectionalOneOfItsTable)
{
    const double lx = -1000 / std::hypot(1000.0, 700.0), lz = 700 / std::hypot(1000.0, 700.0);
    const double n_dot_h = (lz + 1) / std::hypot(lx, lz + 1);
    struct Case {
        float ambient, diffuse, specular, x;
        double expected;
    } cases[] = {
        {1, 0, 0, 0, 0.2 + 0.1},         {0, 0.5f, 0, 0, 0.5 * 1.2 * lz}, {0, 0.5f, 0, -1000, 0.5 * 1.2 * lz},
        {0, 0, 1, 0, 0.9 * n_dot_h},     {0, 0, 1, 1000, 0.9 * n_dot_h},
    };
    glEnable(GL_LIGHTING);
    for (const Case& c : cases) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        const GLenum terms[] = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION};
        const float values[] = {c.ambient, c.diffuse, c.specular, 0};
        for (int i = 0; i < 4; ++i) {
            const GLfloat colour[4] = {values[i], values[i], values[i], 1};
            glMaterialfv(GL_FRONT_AND_BACK, terms[i], colour);
        }
        glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 1);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(c.x - 1, c.x + 1, -1, 1, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glBegin(GL_QUADS);
        glNormal3f(0, 0, 1);
        const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (const auto& v : corners) glVertex2f(c.x + v[0], v[1]);
        glEnd();
        pixels_ = gl_.ReadPixels();
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(At(W / 2, H / 2)[i], 255 * c.expected, 1.5) << c.ambient << c.diffuse << c.specular << " at " << c.x;
    }
}

TEST_F(RenderGl, FlyersShowBothMaterialsPlacedAndTurned)
{
    Frame({{0, 0, -3, 0}});
    // The middle of the body, at the centre of the view, is the bright yellow.
    const unsigned char* centre = At(W / 2, H / 2);
    EXPECT_TRUE(centre[0] > 120 && centre[1] > 120 && centre[2] < centre[1] / 2);
    int dark = 0, bright = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const int r = At(x, y)[0], g = At(x, y)[1], b = At(x, y)[2];
            dark += r > 30 && r < 190 && r > g && g > b && b > 0.4 * r;
            bright += r > 120 && g > 120 && b < g / 2;
        }
    EXPECT_GT(dark, 20);
    EXPECT_GT(bright, 500);
    const Box a = Lit(0, W);
    EXPECT_TRUE(a.x1 - a.x0 > 80 && a.x0 > 0 && a.y0 > 0 && a.x1 < W - 1 && a.y1 < H - 1);

    // A quarter turn about the view axis swaps the box's sides and turns its
    // offset with it; 0.8 units aside at depth 3 is 0.8 / 3 of the focal length.
    Frame({{-0.8, 0, -3, 0}, {0.8, 0, -3, 90}});
    const double shift = 0.8 / 3 * (H / 2) / std::tan(67.5 / 2 * M_PI / 180);
    const Box left = Lit(0, W / 2), right = Lit(W / 2, W);
    EXPECT_NEAR(left.cx(), a.cx() - shift, 3);
    EXPECT_NEAR(left.cy(), a.cy(), 3);
    EXPECT_NEAR(right.x1 - right.x0, a.y1 - a.y0, 3);
    EXPECT_NEAR(right.y1 - right.y0, a.x1 - a.x0, 3);
    EXPECT_NEAR(right.cx(), shift - a.cy(), 3);
    EXPECT_NEAR(right.cy(), a.cx(), 3);
}

TEST_F(RenderGl, ProjectionKeepsTheHorizontalFieldNearNinetyDegrees)
{
    struct Case {
        int w, h;
        double vertical_degrees;
    } cases[] = {{640, 480, 67.5}, {480, 640, 120.0}, {500, 500, 90.0}};
    for (const Case& c : cases) {
        CRender::Resize(c.w, c.h);
        CRender::Draw();
        double p[16];
        glGetDoublev(GL_PROJECTION_MATRIX, p);
        // OpenGL keeps the matrix in single precision. Near 0.1, far 20.
        EXPECT_NEAR(2.0 * std::atan(1.0 / p[5]) * 180.0 / M_PI, c.vertical_degrees, 1e-4) << c.w << "x" << c.h;
        EXPECT_NEAR(p[5] / p[0], double(c.w) / c.h, 1e-6);
        EXPECT_NEAR(p[10], -(20.0 + 0.1) / (20.0 - 0.1), 1e-6);
        EXPECT_NEAR(p[14], -2.0 * 20.0 * 0.1 / (20.0 - 0.1), 1e-6);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_TRUE(viewport[2] == c.w && viewport[3] == c.h);
    }
}

TEST_F(RenderGl, MisuseEndsTheProcess)
{
    EXPECT_EXIT(CRender::Resize(0, 100), testing::ExitedWithCode(1), "render.cpp \\([0-9]+\\) Assert: w > 0\n");
    EXPECT_EXIT(CRender::Resize(100, -1), testing::ExitedWithCode(1), "Assert: h > 0\n");
    EXPECT_EXIT((ScreenHeight = 0, CRender::Draw()), testing::ExitedWithCode(1), "Assert: ScreenHeight > 0\n");
    EXPECT_EXIT(CRender::Init(NULL), testing::ExitedWithCode(1), "Assert: hdc != NULL\n");
    EXPECT_EXIT((CFlyer::DisplayListId = 0, Frame({{0, 0, -3, 0}})), testing::ExitedWithCode(1),
                "Assert: DisplayListId != 0\n");
}

int pixels_per_inch = 96;
std::string* font_log = nullptr;
HDC font_dc = NULL;
std::string Dc(HDC hdc) { return hdc == font_dc ? "dc " : "other dc "; }

// The font at the device's resolution, through a logging stand-in for the
// graphics layer; then the server's own font in 96 glyph lists.
TEST_F(RenderGl, BitmapFontIsTimesAtTheDevicesResolution)
{
    struct Case {
        int pixels_per_inch, point_size, height;
    } cases[] = {{96, 12, -16}, {120, 12, -20}, {72, 12, -12}, {96, 10, -13}};
    const GdiPlatform saved = Gdi;
    std::string log;
    font_log = &log;
    font_dc = gl_.hdc();
    Gdi.GetDeviceCaps = [](HDC hdc, int index) WINAPI { return index == LOGPIXELSY && hdc == font_dc ? pixels_per_inch : 0; };
    Gdi.CreateFontA = [](int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                         DWORD strike_out, DWORD char_set, DWORD output, DWORD clip, DWORD quality, DWORD pitch, LPCSTR face) WINAPI {
        *font_log += "font(";
        for (long v : {long(height), long(width), long(escapement), long(orientation), long(weight), long(italic), long(underline),
                       long(strike_out), long(char_set), long(output), long(clip), long(quality), long(pitch)})
            *font_log += std::to_string(v) + " ";
        *font_log += std::string(face) + ") ";
        return reinterpret_cast<HFONT>(0x1234);
    };
    Gdi.SelectObject = [](HDC hdc, HGDIOBJ object) WINAPI {
        *font_log += "select " + Dc(hdc) + std::to_string(uintptr_t(object)) + " ";
        return HGDIOBJ(NULL);
    };
    Gdi.wglUseFontBitmapsA = [](HDC hdc, DWORD first, DWORD count, DWORD base) WINAPI {
        *font_log += "lists " + Dc(hdc) + std::to_string(first) + "+" + std::to_string(count) + " at " + std::to_string(base) + " ";
        return TRUE;
    };
    Gdi.DeleteObject = [](HGDIOBJ object) WINAPI { *font_log += "delete " + std::to_string(uintptr_t(object)); return TRUE; };
    {
        // At the exit, what was built before the assertion: nothing.
        CBitmapFont font;
        EXPECT_EXIT((std::atexit([] { std::fputs(font_log->c_str(), stderr); }), font.Init(NULL, 12)), testing::ExitedWithCode(1),
                    "bitmapfont.cpp \\([0-9]+\\) Assert: hdc != NULL\n$");
        EXPECT_EXIT(font.Init(gl_.hdc(), 0), testing::ExitedWithCode(1), "Assert: point_size > 0\n");
        EXPECT_EXIT(font.Close(), testing::ExitedWithCode(1), "bitmapfont.cpp \\([0-9]+\\) Assert: CharDisplayList != 0\n");
    }
    for (const Case& c : cases) {
        log.clear();
        pixels_per_inch = c.pixels_per_inch;
        CBitmapFont font;
        font.Init(gl_.hdc(), c.point_size);
        EXPECT_TRUE(font.DeviceContext == gl_.hdc() && font.CharDisplayList != 0);
        font.Close();
        font.Close();  // the font is deleted once
        EXPECT_EQ(log, "font(" + std::to_string(c.height) + " 0 0 0 400 0 0 0 0 4 0 4 0 Times) select dc 4660 lists dc 32+96 at " +
                           std::to_string(font.CharDisplayList) + " delete 4660");
        EXPECT_EQ(font.FontHandle, HFONT(NULL));
    }
    Gdi = saved;
    CBitmapFont font;
    font.Init(gl_.hdc(), 12);
    EXPECT_TRUE(glIsList(font.CharDisplayList) && glIsList(font.CharDisplayList + 95));
    glRasterPos2i(0, 0);
    glCallList(font.CharDisplayList + 'M' - 32);
    GLfloat position[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    EXPECT_GT(position[0], 0.0f);  // the glyph advances the raster position
    font.Close();
    EXPECT_FALSE(glIsList(font.CharDisplayList) || glIsList(font.CharDisplayList + 95));
}

}  // namespace
