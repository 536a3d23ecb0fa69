// The scene drawn by real OpenGL (Mesa on the private X display) and read
// back, with the bitmap font built from the server's fonts.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "flyer.h"
#include "platform/gl.h"
#include "render.h"
#include "support/gl_context.h"
#include "support/scene_state.h"

using testing::ExitedWithCode;

constexpr int W = 640;
constexpr int H = 480;

struct Place {
    double x, y, z, angle;
};

// The box round the lit pixels of a column range, y upwards, centred on the
// view's middle.
struct Box {
    int x0 = W, y0 = H, x1 = -1, y1 = -1;
    double CentreX() const { return (x0 + x1 - W) / 2.0; }
    double CentreY() const { return (y0 + y1 - H) / 2.0; }
};

class RenderGl : public testing::Test {
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");  // no fork sharing this X connection
        ResetSceneState();
        ASSERT_TRUE(gl_.ok()) << "no GLX context on display '" << TestDisplayName() << "'";
        // As a context may come: Init sets its own.
        glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
        glClearDepth(0.0);
        CRender::Init(gl_.hdc());
        CRender::Resize(W, H);
    }
    void TearDown() override { ResetSceneState(); }
    void Frame(const std::vector<Place>& flyers)
    {
        for (CFlyer*& slot : FlyerSlots) delete std::exchange(slot, nullptr);
        for (size_t i = 0; i < flyers.size(); ++i) {
            FlyerSlots[i] = new CFlyer;
            FlyerSlots[i]->position.Set(flyers[i].x, flyers[i].y, flyers[i].z);
            FlyerSlots[i]->angle = flyers[i].angle;
        }
        CRender::Draw();
        pixels_ = gl_.ReadPixels();
    }
    const unsigned char* At(int x, int y) const { return &pixels_[(size_t(y) * W + x) * 3]; }
    Box Lit(int from, int to) const
    {
        Box box;
        for (int y = 0; y < H; ++y) {
            for (int x = from; x < to; ++x) {
                if (At(x, y)[0] + At(x, y)[1] + At(x, y)[2] == 0) continue;
                box = {std::min(box.x0, x), std::min(box.y0, y), std::max(box.x1, x), y};
            }
        }
        return box;
    }
    GlContext gl_{W, H};
    std::vector<unsigned char> pixels_;
};

TEST_F(RenderGl, InitSetsTheSceneStateAndCloseKeepsTheModel)
{
    glColor3f(0.5f, 0.5f, 0.5f);
    glRectf(-1, -1, 1, 1);  // grey, for the frame to clear
    const unsigned font = BitmapFont.CharDisplayList;
    EXPECT_TRUE(glIsList(font + 95)) << "the server's glyphs, 32 to 127";
    Frame({});
    EXPECT_EQ(Lit(0, W).x1, -1) << "cleared to black";
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING)) << "on only while the flyers are drawn";
    FlyerSlots[7] = new CFlyer;
    CRender::Close();
    EXPECT_EQ(FlyerSlots[7], nullptr);
    // The model's list goes only with the context, so it cannot be built twice.
    EXPECT_FALSE(glIsList(font));
    EXPECT_TRUE(glIsList(CFlyer::DisplayListId));
    EXPECT_EXIT(CRender::Init(gl_.hdc()), ExitedWithCode(1), "Assert: DisplayListId == 0\n");
}

// The vertical field keeps the horizontal one near 90 degrees; near 0.1, far
// 20 (OpenGL keeps the matrix in floats).
TEST_F(RenderGl, ProjectionFollowsTheWindowsShape)
{
    CRender::Draw();
    CRender::Resize(480, 640);
    CRender::Draw();
    double p[16];
    glGetDoublev(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(2 * std::atan(1 / p[5]) * 180 / M_PI, 120, 1e-4);
    EXPECT_NEAR(p[5] / p[0], 480.0 / 640, 1e-6);
    EXPECT_NEAR(p[10], -20.1 / 19.9, 1e-6);
    EXPECT_NEAR(p[14], -4 / 19.9, 1e-6);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_THAT(viewport, testing::ElementsAre(0, 0, 480, 640));
}

// A grey square facing the viewer under light 0, against the lighting model
// with a global ambient of 0.2 and an infinite viewer: the light's ambient
// 0.1, diffuse 1.2 and specular 0.9 come from (-1000, 0, 700) at infinity,
// the same at every place.
TEST_F(RenderGl, LightIsTheDirectionalOneOfItsTable)
{
    const double lx = -1000 / std::hypot(1000.0, 700.0);
    const double lz = 700 / std::hypot(1000.0, 700.0);
    const double diffuse = lz;                                  // N.L
    const double specular = (lz + 1) / std::hypot(lx, lz + 1);  // N.H
    const double expected = 0.4 * (0.2 + 0.1) + 0.4 * 1.2 * diffuse + 0.4 * 0.9 * specular;
    const GLfloat grey[4] = {0.4f, 0.4f, 0.4f, 1};
    for (GLenum term : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR}) glMaterialfv(GL_FRONT, term, grey);
    glMaterialf(GL_FRONT, GL_SHININESS, 1);
    glEnable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);  // far to the right; the modelview is the identity
    glOrtho(999, 1001, -1, 1, -1, 1);
    glNormal3f(0, 0, 1);
    glRectf(999, -1, 1001, 1);
    pixels_ = gl_.ReadPixels();
    const unsigned char* centre = At(W / 2, H / 2);
    EXPECT_THAT(std::vector<double>(centre, centre + 3),
                testing::Each(testing::DoubleNear(255 * expected, 1.5)));
}

TEST_F(RenderGl, FlyersShowBothMaterialsPlacedAndTurned)
{
    glGetError();  // Mesa's font builder leaves out-of-memory for empty glyphs
    Frame({{.x = 0, .y = 0, .z = -3, .angle = 0}});
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "the model's list runs clean";
    // The body's middle, at the centre of the view, is the bright yellow; the
    // dark ends show, lit, along the body.
    const unsigned char* centre = At(W / 2, H / 2);
    EXPECT_GT(centre[1], 120);
    EXPECT_LT(centre[2], centre[1] / 2);
    int dark = 0;
    for (size_t i = 0; i < pixels_.size(); i += 3) {
        const int r = pixels_[i];
        const int g = pixels_[i + 1];
        const int b = pixels_[i + 2];
        if (r > 30 && r < 190 && r > g && g > b && b > 0.4 * r) ++dark;
    }
    EXPECT_GT(dark, 20);
    const Box still = Lit(0, W);
    EXPECT_GT(still.x1 - still.x0, 80);
    // A quarter turn about the view axis swaps the box's sides and turns its
    // centre's offset with it; 0.8 units aside at depth 3 is 0.8 / 3 of the
    // focal length.
    Frame({{.x = -0.8, .y = 0, .z = -3, .angle = 0}, {.x = 0.8, .y = 0, .z = -3, .angle = 90}});
    const double shift = 0.8 / 3 * (H / 2) / std::tan(67.5 / 2 * M_PI / 180);
    const Box left = Lit(0, W / 2);
    const Box right = Lit(W / 2, W);
    EXPECT_NEAR(left.CentreX(), still.CentreX() - shift, 3);
    EXPECT_NEAR(left.CentreY(), still.CentreY(), 3);
    EXPECT_NEAR(right.CentreX(), shift - still.CentreY(), 3);
    EXPECT_NEAR(right.CentreY(), still.CentreX(), 3);
    EXPECT_NEAR(right.x1 - right.x0, still.y1 - still.y0, 3);
    EXPECT_NEAR(right.y1 - right.y0, still.x1 - still.x0, 3);
}

TEST_F(RenderGl, MisuseEndsTheProcess)
{
    EXPECT_EXIT(CRender::Resize(0, 100), ExitedWithCode(1),
                "render.cpp \\([0-9]+\\) Assert: w > 0\n");
    EXPECT_EXIT(CRender::Resize(100, 0), ExitedWithCode(1), "Assert: h > 0\n");
    EXPECT_EXIT(CRender::Init(NULL), ExitedWithCode(1), "Assert: hdc != NULL\n");
    CBitmapFont font;
    EXPECT_EXIT(font.Init(NULL, 12), ExitedWithCode(1),
                "bitmapfont.cpp \\([0-9]+\\) Assert: hdc != NULL\n");
    EXPECT_EXIT(font.Init(gl_.hdc(), 0), ExitedWithCode(1), "Assert: point_size > 0\n");
    EXPECT_EXIT(font.Close(), ExitedWithCode(1), "Assert: CharDisplayList != 0\n");
    FlyerSlots[0] = new CFlyer;
    CFlyer::DisplayListId = 0;
    EXPECT_EXIT(CRender::Draw(), ExitedWithCode(1), "Assert: DisplayListId != 0\n");
    ScreenHeight = 0;
    EXPECT_EXIT(CRender::Draw(), ExitedWithCode(1), "Assert: ScreenHeight > 0\n");
}
