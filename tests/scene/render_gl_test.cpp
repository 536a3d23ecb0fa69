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

constexpr int W = 640, H = 480;
struct Box { int x0 = W, y0 = H, x1 = -1, y1 = -1; };  // of the lit pixels, y upwards

class RenderGl : public testing::Test {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");  // no fork sharing this X connection
        ResetSceneState();
        ASSERT_TRUE(gl_.ok()) << "no GLX context on display '" << TestDisplayName() << "'";
        glClearColor(0.5f, 0.5f, 0.5f, 1.0f);  // as a context may come: Init sets its own
        glClearDepth(0.0);
        CRender::Init(gl_.hdc());
        CRender::Resize(W, H);
    }
    void TearDown() override { ResetSceneState(); }
    const unsigned char* At(int x, int y) const { return &pixels_[(size_t(y) * W + x) * 3]; }
    void Frame(const std::vector<std::vector<double>>& flyers) {  // x, y, z, angle each
        for (CFlyer*& slot : FlyerSlots) {
            delete slot;
            slot = nullptr;
        }
        for (size_t i = 0; i < flyers.size(); ++i) {
            FlyerSlots[i] = new CFlyer;
            FlyerSlots[i]->position.Set(flyers[i][0], flyers[i][1], flyers[i][2]);
            FlyerSlots[i]->angle = flyers[i][3];
        }
        CRender::Draw();
        pixels_ = gl_.ReadPixels();
    }
    Box Lit(int from, int to) const {
        Box b;
        for (int y = 0; y < H; ++y)
            for (int x = from; x < to; ++x)
                if (At(x, y)[0] + At(x, y)[1] + At(x, y)[2] > 0) b = {std::min(b.x0, x), std::min(b.y0, y), std::max(b.x1, x), y};
        return b;
    }
    GlContext gl_{W, H};
    std::vector<unsigned char> pixels_;
};

// An empty scene on a grey buffer, then the projection for three shapes of
// window: the vertical field for a horizontal one near 90 degrees, near 0.1,
// far 20 (OpenGL keeps the matrix in floats).
TEST_F(RenderGl, EmptySceneProjectionAndClose) {
    glColor3f(0.5f, 0.5f, 0.5f), glRectf(-1, -1, 1, 1), Frame({});  // grey for the frame to clear
    EXPECT_EQ(Lit(0, W).x1, -1);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_CULL_FACE) && glIsEnabled(GL_LIGHT0) && !glIsEnabled(GL_LIGHTING));
    for (const std::vector<double>& c : {std::vector<double>{640, 480, 67.5}, {480, 640, 120.0}, {500, 500, 90.0}}) {
        double p[16];  // the projection
        GLint viewport[4];
        CRender::Resize(int(c[0]), int(c[1])), CRender::Draw(), glGetDoublev(GL_PROJECTION_MATRIX, p), glGetIntegerv(GL_VIEWPORT, viewport);
        const double got[] = {2 * std::atan(1 / p[5]) * 180 / M_PI, p[5] / p[0], p[10], p[14], double(viewport[2]), double(viewport[3])};
        const double want[] = {c[2], c[0] / c[1], -20.1 / 19.9, -4 / 19.9, c[0], c[1]};
        for (int i = 0; i < 6; ++i) EXPECT_NEAR(got[i], want[i], i ? 1e-6 : 1e-4) << c[0] << "x" << c[1] << " term " << i;
    }
    // The model's list goes only with the context, so it cannot be built twice.
    const unsigned model = CFlyer::DisplayListId, font = BitmapFont.CharDisplayList;
    EXPECT_TRUE(glIsList(font) && glIsList(font + 95) && model != font + 95) << "the server's glyphs, 32 to 127";
    // They hold the glyphs themselves: drawing one moves the raster position on by its width.
    GLint start[4], end[4];
    glMatrixMode(GL_PROJECTION), glLoadIdentity(), glMatrixMode(GL_MODELVIEW), glLoadIdentity(), glRasterPos2i(0, 0);
    glGetIntegerv(GL_CURRENT_RASTER_POSITION, start), glCallList(font + 'M' - 32), glGetIntegerv(GL_CURRENT_RASTER_POSITION, end);
    EXPECT_TRUE(end[0] - start[0] > 4 && end[1] == start[1]) << end[0] - start[0];
    FlyerSlots[7] = new CFlyer, CRender::Close();
    EXPECT_TRUE(FlyerSlots[7] == nullptr && CFlyer::DisplayListId == model && glIsList(model) && !glIsList(font) && !glIsList(font + 95));
    EXPECT_EXIT(CRender::Init(gl_.hdc()), testing::ExitedWithCode(1), "flyer.cpp \\([0-9]+\\) Assert: DisplayListId == 0\n");
}

// A grey square facing the viewer under light 0, against the lighting model
// with a global ambient of 0.2 and an infinite viewer: the light's ambient
// 0.1, diffuse 1.2 and specular 0.9 come from (-1000, 0, 700) at infinity,
// the same at every place.
TEST_F(RenderGl, LightIsTheDirectionalOneOfItsTable) {
    const double lx = -1000 / std::hypot(1000.0, 700.0), lz = 700 / std::hypot(1000.0, 700.0);
    const double expected = 0.4 * (0.2 + 0.1) + 0.4 * 1.2 * lz + 0.4 * 0.9 * (lz + 1) / std::hypot(lx, lz + 1);  // N.L, N.H
    const GLfloat grey[4] = {0.4f, 0.4f, 0.4f, 1};
    for (GLenum term : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR}) glMaterialfv(GL_FRONT_AND_BACK, term, grey);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 1), glEnable(GL_LIGHTING), glMatrixMode(GL_PROJECTION);  // modelview: identity
    for (float x : {0, -1000, 1000}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT), glLoadIdentity(), glOrtho(x - 1, x + 1, -1, 1, -1, 1);
        glNormal3f(0, 0, 1), glRectf(x - 1, -1, x + 1, 1), pixels_ = gl_.ReadPixels();
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(At(W / 2, H / 2)[i], 255 * expected, 1.5) << "at " << x;
    }
}

TEST_F(RenderGl, FlyersShowBothMaterialsPlacedAndTurned) {
    glGetError(), Frame({{0, 0, -3, 0}});  // Mesa's font builder leaves out-of-memory for empty glyphs
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));  // the model's list runs clean
    // The dark ends show, lit, along the body; its middle, at the centre of
    // the view, is the bright yellow.
    int dark = 0, bright = 0;
    for (int i = 0; i < W * H; ++i) {
        const int r = pixels_[3 * i], g = pixels_[3 * i + 1], b = pixels_[3 * i + 2];
        dark += r > 30 && r < 190 && r > g && g > b && b > 0.4 * r;
        bright += r > 120 && g > 120 && b < g / 2;
    }
    const unsigned char* centre = At(W / 2, H / 2);
    EXPECT_TRUE(dark > 20 && bright > 500 && centre[0] > 120 && centre[1] > 120 && centre[2] < centre[1] / 2) << dark << " " << bright;
    const Box a = Lit(0, W);
    EXPECT_TRUE(a.x1 - a.x0 > 80 && a.x0 > 0 && a.y0 > 0 && a.x1 < W - 1 && a.y1 < H - 1);
    // A quarter turn about the view axis swaps the box's sides and turns its
    // offset with it; 0.8 units aside at depth 3 is 0.8 / 3 of the focal length.
    Frame({{-0.8, 0, -3, 0}, {0.8, 0, -3, 90}});
    const double shift = 0.8 / 3 * (H / 2) / std::tan(67.5 / 2 * M_PI / 180);
    // Centres relative to the view's are doubled to stay whole.
    const Box l = Lit(0, W / 2), r = Lit(W / 2, W);
    const double ax = a.x0 + a.x1 - W, ay = a.y0 + a.y1 - H, s = 2 * shift;
    const double got[] = {l.x0 + l.x1 - W + s, double(l.y0 + l.y1 - H), r.x0 + r.x1 - W - s, double(r.y0 + r.y1 - H),
                          double(r.x1 - r.x0), double(r.y1 - r.y0)};
    const double want[] = {ax, ay, -ay, ax, double(a.y1 - a.y0), double(a.x1 - a.x0)};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(got[i], want[i], i < 4 ? 6 : 3) << i;
}

static std::string font_log;
static HDC font_dc = NULL;
static void Log(const std::string& text, HDC hdc = font_dc) { font_log += (hdc == font_dc ? "" : "other dc ") + text + " "; }

// The font at the device's resolution through a logging stand-in for the
// graphics layer (the font handle is 4660), and the checks that end the process.
TEST_F(RenderGl, BitmapFontAndMisuse) {
    EXPECT_EXIT(CRender::Resize(0, 100), testing::ExitedWithCode(1), "render.cpp \\([0-9]+\\) Assert: w > 0\n");
    EXPECT_EXIT(CRender::Resize(100, -1), testing::ExitedWithCode(1), "Assert: h > 0\n");
    EXPECT_EXIT((ScreenHeight = 0, CRender::Draw()), testing::ExitedWithCode(1), "Assert: ScreenHeight > 0\n");
    EXPECT_EXIT(CRender::Init(NULL), testing::ExitedWithCode(1), "Assert: hdc != NULL\n");
    EXPECT_EXIT((CFlyer::DisplayListId = 0, Frame({{0, 0, -3, 0}})), testing::ExitedWithCode(1), "Assert: DisplayListId != 0\n");
    const GdiPlatform saved = Gdi;
    font_dc = gl_.hdc();
    Gdi.CreateFontA = [](int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                         DWORD strike_out, DWORD char_set, DWORD output, DWORD clip, DWORD quality, DWORD pitch, LPCSTR face) WINAPI {
        for (long v : {long(height), long(width), long(escapement), long(orientation), long(weight), long(italic), long(underline),
                       long(strike_out), long(char_set), long(output), long(clip), long(quality), long(pitch)}) Log(std::to_string(v));
        return Log(face), reinterpret_cast<HFONT>(0x1234);
    };
    Gdi.SelectObject = [](HDC hdc, HGDIOBJ font) WINAPI { return Log("select " + std::to_string(uintptr_t(font)), hdc), HGDIOBJ(NULL); };
    Gdi.wglUseFontBitmapsA = [](HDC hdc, DWORD first, DWORD count, DWORD base) WINAPI {
        return Log("lists " + std::to_string(first) + "+" + std::to_string(count) + " at " + std::to_string(base), hdc), TRUE; };
    Gdi.DeleteObject = [](HGDIOBJ font) WINAPI { return Log("delete " + std::to_string(uintptr_t(font))), TRUE; };
    CBitmapFont font;
    // At the exit, what was built before the assertion: nothing.
    EXPECT_EXIT((std::atexit([] { std::fputs(font_log.c_str(), stderr); }), font.Init(NULL, 12)), testing::ExitedWithCode(1),
                "bitmapfont.cpp \\([0-9]+\\) Assert: hdc != NULL\n$");
    EXPECT_EXIT(font.Init(gl_.hdc(), 0), testing::ExitedWithCode(1), "Assert: point_size > 0\n");
    EXPECT_EXIT(font.Close(), testing::ExitedWithCode(1), "bitmapfont.cpp \\([0-9]+\\) Assert: CharDisplayList != 0\n");
    for (const std::vector<int>& c : {std::vector<int>{12, -16}, {10, -13}, {9, -12}}) {  // points and pixels at 96 per inch
        font_log.clear(), font.Init(gl_.hdc(), c[0]), font.Close(), font.Close();  // the font is deleted once
        EXPECT_EQ(font_log, std::to_string(c[1]) + " 0 0 0 400 0 0 0 0 4 0 4 0 Times select 4660 lists 32+96 at " +
                           std::to_string(font.CharDisplayList) + " delete 4660 ");
        EXPECT_TRUE(font.FontHandle == NULL && font.DeviceContext == gl_.hdc() && font.CharDisplayList != 0);
    }
    Gdi = saved;
}
