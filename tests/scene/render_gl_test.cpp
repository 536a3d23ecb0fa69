// The scene drawn by real OpenGL (Mesa on the private X display) and read
// back, with the bitmap font built from the server's fonts.
#include <gmock/gmock.h>

#include <algorithm>
#include <cmath>

#include "flyer.h"
#include "render.h"
#include "saver_runtime.h"
#include "support/fake_clock.h"
#include "support/gl_context.h"
#include "support/scene_state.h"
#include "utility/timer.h"

using testing::ExitedWithCode;

constexpr int W = 640;
constexpr int H = 480;

static bool IsLit(unsigned char channel) { return channel != 0; }

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
    GlContext gl_{W, H};
    FakeClock clock_;
};

// Two frames of an empty scene, the second of another shape, with the frame
// rate. The vertical field is 90 degrees over the aspect, 120 for 480 by 640,
// which keeps the horizontal one near 90; with near 0.1 and far 20 the depth
// term is -2 * 0.1 * 20 / 19.9 (OpenGL keeps the matrix in floats). Before
// the first sample the text is "0.0 fps", on a line at the margin of 8
// pixels and well below four margins.
TEST_F(RenderGl, EmptyFramesSetTheProjectionAndShowTheFrameRate)
{
    const int margin = 8;
    const int text_top = 4 * margin;
    glRectf(-1, -1, 1, 1);  // white, for the frames to clear
    MaxFlyers = 0;
    Timer_Start();
    SaverFrame(true);
    CRender::Resize(480, 640);
    SaverFrame(true);
    const std::vector<unsigned char> pixels = gl_.ReadPixels();
    const auto row = [&](int y) { return pixels.begin() + y * W * 3; };
    EXPECT_TRUE(std::any_of(row(0), row(margin), IsLit)) << "the p below the line";
    EXPECT_TRUE(std::none_of(row(text_top), pixels.end(), IsLit)) << "cleared to black";
    double p[16];
    glGetDoublev(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(2 * std::atan(1 / p[5]) * 180 / M_PI, 120, 1e-4);
    EXPECT_NEAR(p[5] / p[0], 480.0 / 640, 1e-6);
    EXPECT_NEAR(p[14], -4 / 19.9, 1e-6);
    GLint stack_depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &stack_depth);
    EXPECT_EQ(stack_depth, 1);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING)) << "on only while the flyers are drawn";
}

// The body's middle, at the centre of the view, is the bright yellow.
TEST_F(RenderGl, FlyerShowsItsModelWhereItIs)
{
    FlyerSlots[0] = new CFlyer;
    FlyerSlots[0]->position.Set(0, 0, -3);
    glGetError();  // Mesa's font builder leaves out-of-memory for empty glyphs
    CRender::Draw();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "the model's list runs clean";
    const std::vector<unsigned char> pixels = gl_.ReadPixels();
    const unsigned char* middle = &pixels[(H / 2 * W + W / 2) * 3];
    EXPECT_GT(middle[1], 120);
    EXPECT_LT(middle[2], middle[1] / 2);
}

// The model's list goes only with the context, so it cannot be built twice.
TEST_F(RenderGl, CloseKeepsOnlyTheModelAndMisuseEndsTheProcess)
{
    const unsigned font = BitmapFont.CharDisplayList;
    EXPECT_EQ(CFlyer::DisplayListId, font + 96) << "after the font's lists, 32 to 127";
    FlyerSlots[7] = new CFlyer;
    CRender::Close();
    EXPECT_EQ(FlyerSlots[7], nullptr);
    EXPECT_FALSE(glIsList(font));
    EXPECT_EXIT(CRender::Init(gl_.hdc()), ExitedWithCode(1), "Assert: DisplayListId == 0\n");
    EXPECT_EXIT(BitmapFont.Init(gl_.hdc(), 0), ExitedWithCode(1), "Assert: point_size > 0\n");
    FlyerSlots[0] = new CFlyer;
    CFlyer::DisplayListId = 0;
    EXPECT_EXIT(CRender::Draw(), ExitedWithCode(1), "Assert: DisplayListId != 0\n");
}
