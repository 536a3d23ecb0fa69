// The saver and render window procedures over doubles of the RenderWindow
// table: the child's creation, one frame per paint and the teardown, each
// checked as the sequence of calls it makes; and every checked call that
// fails ends the process with the error box. The scene itself runs for real
// on an OpenGL context of the test's own.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "framework/close_rules.h"
#include "framework/entry.h"
#include "main.h"
#include "platform/close_rules.h"
#include "platform/gl.h"
#include "platform/render_window.h"
#include "render.h"
#include "support/fake_clock.h"
#include "support/scene_state.h"
#include "utility/diagnostics.h"
#include "utility/random.h"
#include "utility/timer.h"

#ifndef _WIN32
#include "support/gl_context.h"
#endif

namespace {

constexpr int WIDTH = 160;
constexpr int HEIGHT = 120;
const HWND SAVER = reinterpret_cast<HWND>(0x5A5A);
const HWND CHILD = reinterpret_cast<HWND>(0xC0C0);
const HGLRC CONTEXT = reinterpret_cast<HGLRC>(0x6C6C);
const HGDIOBJ BLACK = reinterpret_cast<HGDIOBJ>(0xB1AC);
constexpr int FORMAT = 7;
constexpr LRESULT DEFAULT_RESULT = 77;

// A real OpenGL context, current for the object's life, and the device
// context that goes with it: the scene's Init, Draw and Close need both.
#ifdef _WIN32
class GlSurface {
public:
    GlSurface()
    {
        WNDCLASSA window_class = {};
        window_class.style = CS_OWNDC;
        window_class.lpfnWndProc = DefWindowProcA;
        window_class.hInstance = GetModuleHandleA(NULL);
        window_class.lpszClassName = "RenderWindowTestSurface";
        RegisterClassA(&window_class);
        window_ = CreateWindowExA(0, window_class.lpszClassName, "", WS_POPUP, 0, 0, WIDTH, HEIGHT, NULL, NULL,
                                  window_class.hInstance, NULL);
        dc_ = GetDC(window_);
        PIXELFORMATDESCRIPTOR pfd = {};
        pfd.nSize = sizeof pfd;
        pfd.nVersion = 1;
        pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        pfd.cColorBits = 24;
        pfd.cDepthBits = 24;
        SetPixelFormat(dc_, ChoosePixelFormat(dc_, &pfd), &pfd);
        context_ = wglCreateContext(dc_);
        if (context_ != NULL && !wglMakeCurrent(dc_, context_)) context_ = NULL;
    }
    ~GlSurface()
    {
        wglMakeCurrent(NULL, NULL);
        if (context_ != NULL) wglDeleteContext(context_);
        ReleaseDC(window_, dc_);
        DestroyWindow(window_);
    }
    bool ok() const { return context_ != NULL; }
    HDC hdc() const { return dc_; }

private:
    HWND window_ = NULL;
    HDC dc_ = NULL;
    HGLRC context_ = NULL;
};
#else
class GlSurface {
public:
    bool ok() const { return gl_.ok(); }
    HDC hdc() { return gl_.hdc(); }

private:
    GlContext gl_{WIDTH, HEIGHT};
};
#endif

std::string Hex(const void* handle)
{
    char text[32];
    std::snprintf(text, sizeof text, "%lx", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(handle)));
    return text;
}

// Stands in for the RenderWindow table, the clocks' and close rules' calls
// and the trace channel, writing one line per call into one log so that the
// order across all of them can be read back.
class Recorder {
public:
    Recorder()
        : saved_window_(RenderWindow), saved_rules_(CloseRules), saved_diagnostics_(Diagnostics),
          fake_clock_clock_(Clock)
    {
        current_ = this;
        RenderWindow.GetClientRect = [](HWND window, RECT* rect) WINAPI {
            current_->Log("GetClientRect " + Hex(window));
            *rect = {0, 0, WIDTH, HEIGHT};
            return TRUE;
        };
        RenderWindow.GetStockObject = [](int object) WINAPI { return object == BLACK_BRUSH ? BLACK : HGDIOBJ(NULL); };
        RenderWindow.RegisterClassA = [](const WNDCLASSA* window_class) WINAPI {
            current_->registered = *window_class;
            current_->Log("RegisterClassA " + std::string(window_class->lpszClassName));
            return current_->atom;
        };
        RenderWindow.CreateWindowExA = [](DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y,
                                          int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                                          LPVOID parameter) WINAPI {
            char text[256];
            std::snprintf(text, sizeof text, "CreateWindowExA %lx %s %s %lx %d,%d %dx%d %s %s %s %s",
                          static_cast<unsigned long>(ex_style), class_name, title, static_cast<unsigned long>(style), x,
                          y, width, height, Hex(parent).c_str(), Hex(menu).c_str(),
                          instance == SaverInstance ? "instance" : "other-instance", Hex(parameter).c_str());
            current_->Log(text);
            return current_->child;
        };
        RenderWindow.GetDC = [](HWND window) WINAPI { return current_->Log("GetDC " + Hex(window)), current_->dc; };
        RenderWindow.ReleaseDC = [](HWND window, HDC hdc) WINAPI {
            return current_->Log("ReleaseDC " + Hex(window) + Dc(hdc)), 1;
        };
        RenderWindow.ChoosePixelFormat = [](HDC hdc, const PIXELFORMATDESCRIPTOR* descriptor) WINAPI {
            current_->chosen = *descriptor;
            return current_->Log("ChoosePixelFormat" + Dc(hdc)), current_->format;
        };
        RenderWindow.SetPixelFormat = [](HDC hdc, int format, const PIXELFORMATDESCRIPTOR*) WINAPI {
            return current_->Log("SetPixelFormat" + Dc(hdc) + " " + std::to_string(format)), current_->set_result;
        };
        RenderWindow.DescribePixelFormat = [](HDC hdc, int format, UINT size, PIXELFORMATDESCRIPTOR*) WINAPI {
            current_->Log("DescribePixelFormat" + Dc(hdc) + " " + std::to_string(format) + " " + std::to_string(size));
            return 1;
        };
        RenderWindow.wglCreateContext = [](HDC hdc) WINAPI {
            return current_->Log("wglCreateContext" + Dc(hdc)), current_->context;
        };
        RenderWindow.wglMakeCurrent = [](HDC hdc, HGLRC context) WINAPI {
            // The test's own context stays current throughout.
            current_->Log("wglMakeCurrent" + (hdc == NULL ? std::string(" null") : Dc(hdc)) + " " + Hex(context));
            return current_->make_current_result;
        };
        RenderWindow.wglDeleteContext = [](HGLRC context) WINAPI {
            return current_->Log("wglDeleteContext " + Hex(context)), TRUE;
        };
        RenderWindow.SwapBuffers = [](HDC hdc) WINAPI {
            // Drawing sets the perspective projection, so a projection that is
            // no longer the identity here shows that the frame was drawn first.
            GLfloat projection[16];
            glGetFloatv(GL_PROJECTION_MATRIX, projection);
            const bool identity = projection[0] == 1 && projection[5] == 1 && projection[10] == 1 &&
                                  projection[11] == 0 && projection[14] == 0;
            return current_->Log("SwapBuffers" + Dc(hdc) + (identity ? " undrawn" : " drawn")), TRUE;
        };
        RenderWindow.BeginPaint = [](HWND window, PAINTSTRUCT*) WINAPI {
            return current_->Log("BeginPaint " + Hex(window)), current_->dc;
        };
        RenderWindow.EndPaint = [](HWND window, const PAINTSTRUCT*) WINAPI {
            return current_->Log("EndPaint " + Hex(window)), TRUE;
        };
        RenderWindow.InvalidateRect = [](HWND window, const RECT* rect, BOOL erase) WINAPI {
            return current_->Log("InvalidateRect " + Hex(window) + " " + Hex(rect) + " " + std::to_string(erase)), TRUE;
        };
        RenderWindow.ChangeDisplaySettingsA = [](DEVMODEA* mode, DWORD flags) WINAPI {
            return current_->Log("ChangeDisplaySettingsA " + Hex(mode) + " " + std::to_string(flags)), LONG(0);
        };
        RenderWindow.PostQuitMessage = [](int code) WINAPI { current_->Log("PostQuitMessage " + std::to_string(code)); };
        RenderWindow.MessageBoxA = [](HWND owner, LPCSTR text, LPCSTR caption, UINT type) WINAPI {
            std::fprintf(stderr, "[box owner=%s text=%s caption=%s type=0x%x]", Hex(owner).c_str(), text, caption,
                         type);
            std::fflush(stderr);
            return IDOK;
        };
        CloseRules.DefWindowProcA = [](HWND window, UINT message, WPARAM, LPARAM) WINAPI {
            return current_->Log("DefWindowProcA " + Hex(window) + " " + std::to_string(message)), DEFAULT_RESULT;
        };
        Diagnostics.WriteTrace = [](const char* text) {
            std::string line(text);
            if (!line.empty() && line.back() == '\n') line.pop_back();
            current_->Log("trace " + line);
        };
        Clock.QueryPerformanceFrequency = [](LARGE_INTEGER* frequency) WINAPI {
            current_->Log("QueryPerformanceFrequency");
            return current_->fake_clock_clock_.QueryPerformanceFrequency(frequency);
        };
        Clock.QueryPerformanceCounter = [](LARGE_INTEGER* count) WINAPI {
            current_->Log("QueryPerformanceCounter");
            return current_->fake_clock_clock_.QueryPerformanceCounter(count);
        };
        Clock.timeGetTime = []() WINAPI {
            current_->Log("timeGetTime");
            return current_->fake_clock_clock_.timeGetTime();
        };
    }
    ~Recorder()
    {
        Clock = fake_clock_clock_;
        Diagnostics = saved_diagnostics_;
        CloseRules = saved_rules_;
        RenderWindow = saved_window_;
        current_ = nullptr;
    }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void Log(const std::string& line) { log.push_back(line); }
    static std::string Dc(HDC hdc) { return hdc == current_->dc ? " dc" : " other-dc"; }

    std::vector<std::string> log;
    HDC dc = reinterpret_cast<HDC>(0xDCDC);
    ATOM atom = 0xC123;
    HWND child = CHILD;
    int format = FORMAT;
    BOOL set_result = TRUE;
    HGLRC context = CONTEXT;
    BOOL make_current_result = TRUE;
    WNDCLASSA registered = {};
    PIXELFORMATDESCRIPTOR chosen = {};

private:
    static Recorder* current_;
    RenderWindowPlatform saved_window_;
    CloseRulesPlatform saved_rules_;
    DiagnosticsPlatform saved_diagnostics_;
    ClockPlatform fake_clock_clock_;  // the FakeClock's entries, wrapped above
};
Recorder* Recorder::current_ = nullptr;

class RenderWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetSceneState();
        PreviewMode = FALSE;
        CloseGranted = FALSE;
    }
    void TearDown() override { ResetSceneState(); }

    FakeClock clock_;
};

TEST_F(RenderWindowTest, SaverCreationMakesTheRenderWindowOnceAndEveryMessageEndsInTheDefault)
{
    Recorder calls;
    const std::time_t before = std::time(NULL);
    EXPECT_EQ(ScreenSaverProc(SAVER, WM_CREATE, 0, 0), DEFAULT_RESULT);
    const std::time_t after = std::time(NULL);

    const std::vector<std::string> expected = {
        "trace ScreenSaverProc:WM_CREATE",
        "GetClientRect " + Hex(SAVER),
        "RegisterClassA Lumenfall",
        // WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, the saver window's client size.
        "CreateWindowExA 0 Lumenfall Lumenfall 56000000 0,0 160x120 " + Hex(SAVER) + " 0 instance 0",
        "DefWindowProcA " + Hex(SAVER) + " 1",
    };
    EXPECT_EQ(calls.log, expected);
    EXPECT_TRUE(RandomSeed >= int32_t(before) && RandomSeed <= int32_t(after)) << RandomSeed;

    const WNDCLASSA& c = calls.registered;
    EXPECT_EQ(c.style, UINT(CS_HREDRAW | CS_VREDRAW | CS_OWNDC));
    EXPECT_EQ(c.lpfnWndProc, ScreenSaverChildProc);
    EXPECT_EQ(c.hInstance, SaverInstance);
    EXPECT_EQ(c.hbrBackground, reinterpret_cast<HBRUSH>(BLACK));
    EXPECT_TRUE(c.cbClsExtra == 0 && c.cbWndExtra == 0 && c.hIcon == NULL && c.hCursor == NULL && !c.lpszMenuName);

    // Only creation makes a render window: a later size change of the saver
    // window, like any other message, goes straight to the default handling.
    calls.log.clear();
    const UINT later[] = {WM_SIZE, WM_PAINT, WM_DESTROY, WM_APP + 5};
    for (UINT message : later) EXPECT_EQ(ScreenSaverProc(SAVER, message, 0, MAKELPARAM(320, 240)), DEFAULT_RESULT);
    ASSERT_EQ(calls.log.size(), 4u);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(calls.log[i], "DefWindowProcA " + Hex(SAVER) + " " + std::to_string(later[i]));
}

class RenderWindowLifeTest : public RenderWindowTest {
protected:
    void SetUp() override
    {
        RenderWindowTest::SetUp();
        ASSERT_TRUE(surface_.ok()) << "no OpenGL context on the test display";
        calls_.dc = surface_.hdc();
    }

    GlSurface surface_;
    Recorder calls_;
};

TEST_F(RenderWindowLifeTest, CreationPaintAndDestructionCallInOrder)
{
    ASSERT_EQ(ScreenSaverChildProc(CHILD, WM_CREATE, 0, 0), 0);
    const std::vector<std::string> created = {
        "trace ScreenSaverChildProc:WM_CREATE",
        "GetDC " + Hex(CHILD),
        "ChoosePixelFormat dc",
        "SetPixelFormat dc 7",
        "DescribePixelFormat dc 7 40",
        "wglCreateContext dc",
        "wglMakeCurrent dc " + Hex(CONTEXT),
        "trace CRender::Init",
        "InvalidateRect " + Hex(CHILD) + " 0 0",
        "QueryPerformanceFrequency",
        "QueryPerformanceCounter",
    };
    EXPECT_EQ(calls_.log, created);

    // The descriptor as asked for: every field not named below is 0.
    PIXELFORMATDESCRIPTOR expected = {};
    expected.nSize = 40;
    expected.nVersion = 1;
    expected.dwFlags = 0x1025;
    expected.iPixelType = PFD_TYPE_RGBA;
    expected.cColorBits = 24;
    expected.cDepthBits = 32;
    expected.iLayerType = PFD_MAIN_PLANE;
    EXPECT_EQ(std::memcmp(&calls_.chosen, &expected, sizeof expected), 0);

    calls_.log.clear();
    ASSERT_EQ(ScreenSaverChildProc(CHILD, WM_SIZE, 0, MAKELPARAM(WIDTH, HEIGHT)), 0);
    EXPECT_EQ(ScreenWidth, WIDTH);
    EXPECT_EQ(ScreenHeight, HEIGHT);
    EXPECT_EQ(calls_.log.front(), "trace ScreenSaverChildProc:WM_SIZE");

    // One paint is one frame of 50 ms, which spawns the first ten flyers.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    clock_.AdvanceSeconds(0.05);
    calls_.log.clear();
    ASSERT_EQ(ScreenSaverChildProc(CHILD, WM_PAINT, 0, 0), 0);
    const std::vector<std::string> frame = {
        "BeginPaint " + Hex(CHILD),
        "QueryPerformanceCounter",  // the frame timer
        "timeGetTime",              // the scene update's population step
        "SwapBuffers dc drawn",
        "EndPaint " + Hex(CHILD),
        "InvalidateRect " + Hex(CHILD) + " 0 0",
    };
    EXPECT_EQ(calls_.log, frame);
    EXPECT_EQ(FrameCount, 1u);
    EXPECT_NEAR(FrameInterval, 0.05, 1e-9);
    EXPECT_EQ(CRender::CountFlyers(), MIN_FLYERS);

    calls_.log.clear();
    ASSERT_EQ(ScreenSaverChildProc(CHILD, WM_DESTROY, 0, 0), 0);
    const std::vector<std::string> destroyed = {
        "trace ScreenSaverChildProc:WM_DESTROY",
        "trace CRender::Close",
        "ChangeDisplaySettingsA 0 0",
        "wglMakeCurrent null 0",
        "wglDeleteContext " + Hex(CONTEXT),
        "ReleaseDC " + Hex(CHILD) + " dc",
        "PostQuitMessage 0",
        "trace 1 frames rendered",
        "trace Sample framerate  =  0.00 fps",
        "trace Average framerate = 20.00 fps",
    };
    EXPECT_EQ(calls_.log, destroyed);
    EXPECT_EQ(CRender::CountFlyers(), 0);
}

TEST_F(RenderWindowTest, OtherChildMessagesEndInTheDefault)
{
    Recorder calls;
    PreviewMode = TRUE;  // no close rules: straight to the system's default
    const UINT messages[] = {WM_KEYDOWN, WM_MOUSEMOVE, WM_CLOSE, WM_APP + 5};
    for (UINT message : messages) {
        calls.log.clear();
        EXPECT_EQ(ScreenSaverChildProc(CHILD, message, 0, 0), DEFAULT_RESULT);
        EXPECT_EQ(calls.log, std::vector<std::string>{"DefWindowProcA " + Hex(CHILD) + " " + std::to_string(message)});
    }
}

// Each checked call that fails shows "<name> failed." captioned "Lumenfall"
// with the error icon and no owner, and the process ends with code 1.
TEST_F(RenderWindowTest, EachFailedCheckedCallEndsWithItsErrorBox)
{
    const struct {
        const char* name;
        void (*fail)(Recorder&);
        bool saver_window;  // checked by the saver window's creation, else the child's
    } cases[] = {
        {"RegisterClass", [](Recorder& r) { r.atom = 0; }, true},
        {"CreateWindow", [](Recorder& r) { r.child = NULL; }, true},
        {"ChoosePixelFormat", [](Recorder& r) { r.format = 0; }, false},
        {"SetPixelFormat", [](Recorder& r) { r.set_result = FALSE; }, false},
        {"wglCreateContext", [](Recorder& r) { r.context = NULL; }, false},
        {"wglMakeCurrent", [](Recorder& r) { r.make_current_result = FALSE; }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Recorder calls;
        c.fail(calls);
        const std::string box = std::string("\\[box owner=0 text=") + c.name + " failed\\. caption=Lumenfall type=0x10\\]$";
        if (c.saver_window)
            EXPECT_EXIT((ScreenSaverProc(SAVER, WM_CREATE, 0, 0), std::exit(7)), testing::ExitedWithCode(1), box);
        else
            EXPECT_EXIT((ScreenSaverChildProc(CHILD, WM_CREATE, 0, 0), std::exit(7)), testing::ExitedWithCode(1),
                        box);
    }
}

}  // namespace
