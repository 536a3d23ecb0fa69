#include "saver_runtime.h"

#include <cstdint>
#include <cstdio>
#include <ctime>

#include "platform/gl.h"
#include "render.h"
#include "utility/diagnostics.h"
#include "utility/random.h"
#include "utility/timer.h"

namespace {
constexpr int FRAME_RATE_MARGIN_PX = 8;

// In the scene's bitmap font, over the scene and untouched by its light and
// depth; the scene's own state is put back afterwards.
void DrawFrameRate()
{
    if (BitmapFont.CharDisplayList == 0) return;
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%.1f fps", SampleFrameRate);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LIST_BIT | GL_TRANSFORM_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, ScreenWidth, 0, ScreenHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor3f(1.0f, 1.0f, 1.0f);
    glRasterPos2i(FRAME_RATE_MARGIN_PX, FRAME_RATE_MARGIN_PX);
    // The font's lists start at the code of its first character, the blank.
    glListBase(BitmapFont.CharDisplayList - ' ');
    glCallLists(length, GL_UNSIGNED_BYTE, text);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
}
}  // namespace

void SaverSeed()
{
    // Whole seconds since 1970, kept to their low 32 bits.
    Random_Seed(static_cast<int32_t>(static_cast<uint32_t>(std::time(nullptr))));
}

void SaverStart(HDC dc, const std::function<void()>& before_clock)
{
    CRender::Init(dc);
    if (before_clock) before_clock();
    Timer_Start();
}

void SaverFrame(bool show_frame_rate)
{
    Timer_Frame();
    CRender::Update(FrameInterval);
    TraceController();
    CRender::Draw();
    if (show_frame_rate) DrawFrameRate();
}

void SaverStop(const std::function<void()>& after_close)
{
    CRender::Close();
    if (after_close) after_close();
    Trace("%u frames rendered\n", static_cast<unsigned>(FrameCount));
    Trace("Sample framerate  = %5.2f fps\n", SampleFrameRate);
    Trace("Average framerate = %5.2f fps\n", AverageFrameRate);
}
