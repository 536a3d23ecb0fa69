// The saver and render window procedures over a double of the RenderWindow
// table, with the scene drawing into a real OpenGL context of the test's own;
// and every checked call that fails ends the process with the error box.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "main.h"
#include "platform/gl.h"
#include "platform/render_window.h"
#include "render.h"
#include "support/fake_clock.h"
#include "support/fake_saver_platform.h"
#include "support/scene_state.h"
#include "utility/diagnostics.h"
#include "utility/random.h"
#include "utility/timer.h"

#ifndef _WIN32
#include "support/gl_context.h"
#endif

namespace {
const HWND SAVER = reinterpret_cast<HWND>(0x5A5A), CHILD = reinterpret_cast<HWND>(0xC0C0);
const HGLRC CONTEXT = reinterpret_cast<HGLRC>(0x6C6C);

// The double of the RenderWindow table: what the system holds for the render
// window, and the trace written.
struct RenderWindowTest : testing::Test {
    HDC dc = reinterpret_cast<HDC>(0xDCDC), released = NULL;
    HWND child = CHILD;
    HGLRC context = CONTEXT, current = NULL, deleted = NULL;
    BOOL setOk = TRUE, makeOk = TRUE;
    int atom = 1, format = 7, setFormat = 0, described = 0, quit = -1, invalid = 0, painting = 0, drawnSwaps = 0, displayFlags = -1;
    WNDCLASSA registered = {};
    PIXELFORMATDESCRIPTOR asked = {};
    std::string window, trace;
    RenderWindowPlatform saved = RenderWindow;
    void (*savedTrace)(const char*) = Diagnostics.WriteTrace;
    FakeClock clock_;
    FakeSaverPlatform framework_;
    static inline RenderWindowTest* R = nullptr;

    RenderWindowTest()
    {
        R = this;
        ResetSceneState();
        RenderWindow = {
            .GetClientRect = [](HWND window, RECT* rect) WINAPI { return *rect = {0, 0, 160, 120}, BOOL(window == SAVER); },
            .GetStockObject = [](int object) WINAPI { return object == BLACK_BRUSH ? HGDIOBJ(0xB1AC) : HGDIOBJ(NULL); },
            .RegisterClassA = [](const WNDCLASSA* c) WINAPI { return R->registered = *c, ATOM(R->atom); },
            .CreateWindowExA = [](DWORD ex, LPCSTR name, LPCSTR title, DWORD style, int x, int y, int w, int h, HWND parent, HMENU menu,
               HINSTANCE instance, LPVOID p) WINAPI {
                char text[160];
                std::snprintf(text, sizeof text, "%lx %s %s %lx %d,%d %dx%d %d", (unsigned long)ex, name, title, (unsigned long)style,
                              x, y, w, h, parent == SAVER && !menu && instance == SaverInstance && !p);
                return R->window = text, R->child;
            },
            .GetDC = [](HWND window) WINAPI { return window == CHILD ? R->dc : HDC(NULL); },
            .ReleaseDC = [](HWND window, HDC dc) WINAPI { return R->released = window == CHILD ? dc : HDC(NULL), 1; },
            .ChoosePixelFormat = [](HDC dc, const PIXELFORMATDESCRIPTOR* pfd) WINAPI { return R->asked = *pfd, dc == R->dc ? R->format : 0; },
            .SetPixelFormat = [](HDC dc, int format, const PIXELFORMATDESCRIPTOR*) WINAPI { return R->setFormat = dc == R->dc ? format : -1, R->setOk; },
            .DescribePixelFormat = [](HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR*) WINAPI { return R->described = dc == R->dc && size == sizeof R->asked ? format : -1, 1; },
            .wglCreateContext = [](HDC dc) WINAPI { return dc == R->dc ? R->context : HGLRC(NULL); },
            .wglMakeCurrent = [](HDC dc, HGLRC rc) WINAPI { return R->current = dc == (rc ? R->dc : NULL) ? rc : HGLRC(-1), R->makeOk; },
            .wglDeleteContext = [](HGLRC context) WINAPI { return R->deleted = context, TRUE; },
            .SwapBuffers = [](HDC dc) WINAPI {
                // Drawing sets the perspective projection, which shows that the frame was drawn before the swap.
                GLfloat m[16];
                glGetFloatv(GL_PROJECTION_MATRIX, m);
                return R->drawnSwaps += dc == R->dc && R->painting == 1 && m[11] != 0, TRUE;
            },
            .BeginPaint = [](HWND window, PAINTSTRUCT*) WINAPI { return R->painting += window == CHILD, R->dc; },
            .EndPaint = [](HWND window, const PAINTSTRUCT*) WINAPI { return R->painting -= window == CHILD, TRUE; },
            .InvalidateRect = [](HWND window, const RECT* rect, BOOL erase) WINAPI { return R->invalid += window == CHILD && !rect && !erase, TRUE; },
            .ChangeDisplaySettingsA = [](DEVMODEA* mode, DWORD flags) WINAPI { return R->displayFlags = mode ? -2 : int(flags), LONG(0); },
            .PostQuitMessage = [](int code) WINAPI { R->quit = code; },
            .MessageBoxA = [](HWND owner, LPCSTR text, LPCSTR caption, UINT type) WINAPI {
                return std::fprintf(stderr, "[box %d %s %s %x]", owner != NULL, text, caption, type), std::fflush(stderr), IDOK;
            }
        };
        Diagnostics.WriteTrace = [](const char* text) { R->trace += text; };
    }
    ~RenderWindowTest() { RenderWindow = saved, Diagnostics.WriteTrace = savedTrace, ResetSceneState(); }
};

// Only creation makes a render window, of the saver window's size; every message then goes on to the default.
TEST_F(RenderWindowTest, SaverCreationMakesTheRenderWindowOnce)
{
    const std::time_t before = std::time(NULL);
    for (UINT message : {UINT(WM_CREATE), UINT(WM_SIZE), UINT(WM_PAINT), UINT(WM_DESTROY)})
        EXPECT_EQ(ScreenSaverProc(SAVER, message, 0, MAKELPARAM(320, 240)), DEFAULT_RESULT);
    EXPECT_TRUE(RandomSeed >= int32_t(before) && RandomSeed <= int32_t(std::time(NULL))) << RandomSeed;
    EXPECT_TRUE(window == "0 Lumenfall Lumenfall 56000000 0,0 160x120 1" && trace == "ScreenSaverProc:WM_CREATE\n") << window;
    EXPECT_TRUE(registered.lpfnWndProc == ScreenSaverChildProc && registered.hInstance == SaverInstance &&
                registered.hbrBackground == HBRUSH(0xB1AC) && registered.lpszClassName == std::string("Lumenfall") &&
                registered.style == (CS_HREDRAW | CS_VREDRAW | CS_OWNDC));
    PreviewMode = TRUE;  // no close rules: the child's other messages go straight to the default
    for (UINT message : {UINT(WM_KEYDOWN), UINT(WM_CLOSE)}) EXPECT_EQ(ScreenSaverChildProc(CHILD, message, 0, 0), DEFAULT_RESULT);
}

#ifndef _WIN32  // the frame is drawn into a GLX context of the test's own
TEST_F(RenderWindowTest, RenderWindowDrawsAFramePerPaintAndLetsGoOnDestruction)
{
    GlContext surface(160, 120);
    ASSERT_TRUE(surface.ok()) << "no OpenGL context on the test display";
    dc = surface.hdc();
    ASSERT_EQ(ScreenSaverChildProc(CHILD, WM_CREATE, 0, 0), 0);
    const PIXELFORMATDESCRIPTOR& pfd = asked;
    const DWORD needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    EXPECT_TRUE(pfd.nSize == sizeof pfd && pfd.nVersion == 1 && (pfd.dwFlags & needed) == needed && pfd.iPixelType == PFD_TYPE_RGBA &&
                pfd.cColorBits == 24 && pfd.cDepthBits == 32 && pfd.iLayerType == PFD_MAIN_PLANE);
    EXPECT_TRUE(setFormat == 7 && described == 7 && current == CONTEXT && invalid == 1 && RenderDC == dc && RenderContext == CONTEXT);
    ASSERT_EQ(ScreenSaverChildProc(CHILD, WM_SIZE, 0, MAKELPARAM(160, 120)), 0);
    EXPECT_TRUE(ScreenWidth == 160 && ScreenHeight == 120);
    // One paint is one frame of 50 ms, which spawns the first flyers.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    clock_.AdvanceSeconds(0.05);
    ASSERT_EQ(ScreenSaverChildProc(CHILD, WM_PAINT, 0, 0), 0);
    EXPECT_TRUE(drawnSwaps == 1 && painting == 0 && invalid == 2 && FrameCount == 1u && CRender::CountFlyers() == MIN_FLYERS);
    EXPECT_NEAR(FrameInterval, 0.05, 1e-9);
    ASSERT_EQ(ScreenSaverChildProc(CHILD, WM_DESTROY, 0, 0), 0);
    EXPECT_TRUE(current == NULL && deleted == CONTEXT && released == surface.hdc() && quit == 0 && displayFlags == 0);
    EXPECT_TRUE(RenderContext == NULL && RenderDC == NULL && CRender::CountFlyers() == 0);
}
#endif

// Each checked call that fails shows "<name> failed." captioned "Lumenfall"
// with the error icon and no owner, and the process ends with code 1.
TEST_F(RenderWindowTest, EachFailedCheckedCallEndsWithItsErrorBox)
{
    const struct { const char* name; void (*fail)(RenderWindowTest&); bool saver; } cases[] = {
        {"RegisterClass", [](RenderWindowTest& d) { d.atom = 0; }, true}, {"CreateWindow", [](RenderWindowTest& d) { d.child = NULL; }, true},
        {"ChoosePixelFormat", [](RenderWindowTest& d) { d.format = 0; }, false}, {"SetPixelFormat", [](RenderWindowTest& d) { d.setOk = FALSE; }, false},
        {"wglCreateContext", [](RenderWindowTest& d) { d.context = NULL; }, false}, {"wglMakeCurrent", [](RenderWindowTest& d) { d.makeOk = FALSE; }, false},
    };
    for (const auto& c : cases) {
        c.fail(*this);
        EXPECT_EXIT((c.saver ? ScreenSaverProc(SAVER, WM_CREATE, 0, 0) : ScreenSaverChildProc(CHILD, WM_CREATE, 0, 0), std::exit(7)),
                    testing::ExitedWithCode(1), std::string("\\[box 0 ") + c.name + " failed\\. Lumenfall 10\\]$");
        atom = 1, child = CHILD, format = 7, setOk = makeOk = TRUE, context = CONTEXT;
    }
}
}  // namespace
