// The scene drawn by real OpenGL (Mesa on the private X display) and read
// back, with the bitmap font built from the server's fonts.
#include <gmock/gmock.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "flyer.h"
#include "platform/gl.h"
#include "render.h"
#include "saver_runtime.h"
#include "support/fake_clock.h"
#include "support/gl_context.h"
#include "support/scene_state.h"
#include "utility/timer.h"

using testing::ExitedWithCode;

constexpr int W = 640;
constexpr int H = 480;

// The box round the lit pixels, y upwards, centred on the view's middle.
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
    const unsigned char* At(int x, int y) const { return &pixels_[(size_t(y) * W + x) * 3]; }
    // Of the columns from `from` up to `to`.
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
    const unsigned font = BitmapFont.CharDisplayList;
    EXPECT_TRUE(glIsList(font + 95)) << "the server's glyphs, 32 to 127";
    glRectf(-1, -1, 1, 1);  // for the frame to clear
    CRender::Draw();
    pixels_ = gl_.ReadPixels();
    EXPECT_THAT(pixels_, testing::Each(0)) << "cleared to black";
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
// 20 (OpenGL keeps the matrix in floats). Each frame sets it afresh.
TEST_F(RenderGl, ProjectionFollowsTheWindowsShape)
{
    CRender::Draw();
    CRender::Resize(480, 640);
    CRender::Draw();
    double p[16];
    glGetDoublev(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(2 * std::atan(1 / p[5]) * 180 / M_PI, 120, 1e-4);
    EXPECT_NEAR(p[5] / p[0], 480.0 / 640, 1e-6);
    EXPECT_NEAR(p[14], -4 / 19.9, 1e-6);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_THAT(viewport, testing::ElementsAre(0, 0, 480, 640));
}

// Two flyers side by side at depth 3, the right one a quarter turn about the
// view axis, which swaps its box's sides and turns its centre's offset.
TEST_F(RenderGl, FlyersShowBothMaterialsPlacedAndTurned)
{
    const double aside = 0.8;
    const double depth = 3;
    FlyerSlots[0] = new CFlyer;
    FlyerSlots[0]->position.Set(-aside, 0, -depth);
    FlyerSlots[0]->angle = 0;
    FlyerSlots[1] = new CFlyer;
    FlyerSlots[1]->position.Set(aside, 0, -depth);
    FlyerSlots[1]->angle = 90;
    glGetError();  // Mesa's font builder leaves out-of-memory for empty glyphs
    CRender::Draw();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "the model's list runs clean";
    pixels_ = gl_.ReadPixels();
    // The body's middle, at the left flyer's place, is the bright yellow; the
    // dark ends show, lit, along the bodies.
    const double shift = aside / depth * (H / 2) / std::tan(67.5 / 2 * M_PI / 180);
    const unsigned char* middle = At(int(W / 2 - shift), H / 2);
    EXPECT_GT(middle[1], 120);
    EXPECT_LT(middle[2], middle[1] / 2);
    int dark = 0;
    for (size_t i = 0; i < pixels_.size(); i += 3) {
        const int r = pixels_[i];
        const int g = pixels_[i + 1];
        const int b = pixels_[i + 2];
        if (r > 30 && r < 190 && r > g && g > b && b > 0.4 * r) ++dark;
    }
    EXPECT_GT(dark, 40);
    const Box left = Lit(0, W / 2);
    const Box right = Lit(W / 2, W);
    EXPECT_GT(left.x1 - left.x0, 80);
    EXPECT_NEAR(right.x1 - right.x0, left.y1 - left.y0, 3);
    EXPECT_NEAR(right.y1 - right.y0, left.x1 - left.x0, 3);
    EXPECT_NEAR(right.CentreX(), shift - left.CentreY(), 3);
    EXPECT_NEAR(right.CentreY(), left.CentreX() + shift, 3);
}

// Before the first sample the text is "0.0 fps", over an empty scene: its p
// hangs below the line, which stands at the margin of 8 pixels.
TEST_F(RenderGl, FrameRateIsTheFontsTextAndLeavesTheSceneAsItWas)
{
    const int margin = 8;
    FakeClock clock;
    MaxFlyers = 0;
    Timer_Start();
    SaverFrame(true);
    pixels_ = gl_.ReadPixels();
    EXPECT_NEAR(Lit(0, W).x0, margin, 2);
    EXPECT_LT(Lit(0, W).y0, margin);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(RenderGl, MisuseEndsTheProcess)
{
    EXPECT_EXIT(CRender::Resize(0, 100), ExitedWithCode(1), "Assert: w > 0\n");
    EXPECT_EXIT(CRender::Resize(100, 0), ExitedWithCode(1), "Assert: h > 0\n");
    EXPECT_EXIT(CRender::Init(NULL), ExitedWithCode(1), "Assert: hdc != NULL\n");
    CBitmapFont font;
    EXPECT_EXIT(font.Init(gl_.hdc(), 0), ExitedWithCode(1), "Assert: point_size > 0\n");
    EXPECT_EXIT(font.Close(), ExitedWithCode(1), "Assert: CharDisplayList != 0\n");
    FlyerSlots[0] = new CFlyer;
    CFlyer::DisplayListId = 0;
    EXPECT_EXIT(CRender::Draw(), ExitedWithCode(1), "Assert: DisplayListId != 0\n");
}
