// The X11 window layer on the test run's private X server: the messages of a
// window's life in Windows' order, the queue's close request handled after
// the current message, handles that name no window, and GLX pixel formats.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/x11/event_translation.h"
#include "platform/x11/glx_pixel_format.h"
#include "platform/x11/x11_windows.h"
#include "support/gl_context.h"

namespace {
constexpr UINT WM_USER_PROBE = 0x0401;
std::vector<std::string> Log;

std::string Name(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const char* who = X11GetParent(window) == nullptr ? "top" : "child";
    switch (message) {
    case WM_CREATE: return std::string(who) + ":create";
    case WM_SIZE: return std::string(who) + ":size " + std::to_string(LOWORD(lParam)) + "x" + std::to_string(HIWORD(lParam));
    case WM_SHOWWINDOW: return std::string(who) + ":show " + std::to_string(wParam);
    case WM_DESTROY: return std::string(who) + ":destroy";
    case WM_CLOSE: return std::string(who) + ":close";
    case WM_PAINT: return std::string(who) + ":paint";
    default: return std::string(who) + ":" + std::to_string(message);
    }
}

HWND Child = nullptr;

LRESULT CALLBACK Recorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Log.push_back(Name(window, message, wParam, lParam));
    if (message == WM_CREATE && X11GetParent(window) == nullptr) {
        // As the program makes its render window: during the parent's creation.
        Child = X11CreateWindowExA(0, "Child", "Child", WS_CHILD | WS_VISIBLE, 0, 0, 40, 30, window, nullptr,
                                   nullptr, nullptr);
    }
    if (message == WM_USER_PROBE) {
        X11PostMessageA(window, WM_CLOSE, 0, 0);
        Log.push_back("probe done");
    }
    return X11DefWindowProcA(window, message, wParam, lParam);
}

class X11Windows : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("DISPLAY", TestDisplayName(), 1);
        for (const char* name : {"Top", "Child"}) {
            WNDCLASSA window_class = {};
            window_class.lpfnWndProc = Recorder;
            window_class.lpszClassName = name;
            ASSERT_NE(X11RegisterClassA(&window_class), 0);
        }
    }
    void SetUp() override
    {
        ASSERT_STRNE(TestDisplayName(), "");
        Log.clear();
    }
};

TEST_F(X11Windows, LifeOfAWindowInWindowsOrder)
{
    const HWND top = X11CreateWindowExA(0, "Top", "Top", WS_POPUP | WS_VISIBLE, 0, 0, 64, 48, nullptr, nullptr,
                                        nullptr, nullptr);
    ASSERT_NE(top, nullptr);
    ASSERT_NE(Child, nullptr);
    // The child is made, sized and shown inside the parent's WM_CREATE; the
    // parent hears of its size and showing before CreateWindowExA returns.
    EXPECT_EQ(Log, (std::vector<std::string>{"top:create", "child:create", "child:size 40x30", "child:show 1",
                                             "top:size 64x48", "top:show 1"}));
    EXPECT_TRUE(X11IsWindow(top));
    EXPECT_TRUE(X11IsWindow(Child));
    RECT client;
    ASSERT_TRUE(X11GetClientRect(Child, &client));
    EXPECT_EQ(client.right, 40);
    EXPECT_EQ(client.bottom, 30);

    // A close posted from inside a message waits for that message to end;
    // the default handling then destroys the window, the parent hearing of
    // it before its child.
    Log.clear();
    X11PostMessageA(top, WM_USER_PROBE, 0, 0);
    X11PostMessageA(nullptr, WM_USER_PROBE + 1, 0, 0);  // a thread message, after the probe
    MSG message;
    ASSERT_TRUE(X11GetMessageA(&message, nullptr, 0, 0));
    X11DispatchMessageA(&message);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(X11GetMessageA(&message, nullptr, 0, 0));
        X11DispatchMessageA(&message);
    }
    EXPECT_EQ(Log, (std::vector<std::string>{"top:1025", "probe done", "top:close", "top:destroy", "child:destroy"}));
    EXPECT_FALSE(X11IsWindow(top));
    EXPECT_FALSE(X11IsWindow(Child));

    // Nothing of the destroyed windows is left in the queue: the quit
    // request comes next.
    X11PostQuitMessage(5);
    EXPECT_FALSE(X11GetMessageA(&message, nullptr, 0, 0));
    EXPECT_EQ(message.message, UINT(WM_QUIT));
    EXPECT_EQ(message.wParam, WPARAM(5));
}

TEST_F(X11Windows, HostDestroyedByAnotherClientEndsItsChildren)
{
    Display* other = XOpenDisplay(TestDisplayName());
    ASSERT_NE(other, nullptr);
    const Window host = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 152, 112, 0, 0, 0);
    XMapWindow(other, host);
    XSync(other, False);
    const HWND child = X11CreateWindowExA(0, "Child", "Preview", WS_CHILD | WS_VISIBLE, 0, 0, 152, 112,
                                          HandleOfWindow(host), nullptr, nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(X11GetParent(child), HandleOfWindow(host));
    XDestroyWindow(other, host);
    XCloseDisplay(other);
    Log.clear();
    // Peeking reads the server's events, the host's destruction among them.
    MSG message;
    for (int i = 0; i < 250 && X11IsWindow(child); ++i) {
        if (X11PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) X11DispatchMessageA(&message);
        usleep(20000);
    }
    EXPECT_FALSE(X11IsWindow(child));
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "child:destroy"), 1);
}

TEST_F(X11Windows, HandlesThatNameNoWindow)
{
    for (uintptr_t id : {uintptr_t(0), uintptr_t(4321), uintptr_t(0xFFFFFFFF), uintptr_t(0x7FFFFFFF)}) {
        const HWND handle = HandleOfWindow(id);
        EXPECT_FALSE(X11IsWindow(handle)) << id;
        RECT rect = {1, 2, 3, 4};
        EXPECT_FALSE(X11GetClientRect(handle, &rect)) << id;
        EXPECT_EQ(rect.right, 0) << id;
        // (A null handle posts to the thread itself, as on Windows.)
        if (id != 0) {
            EXPECT_FALSE(X11PostMessageA(handle, WM_CLOSE, 0, 0)) << id;
        }
    }
    EXPECT_EQ(X11FindWindowA("WindowsScreenSaverClass", "Screen Saver"), nullptr);
}

TEST_F(X11Windows, PixelFormatIsDoubleBufferedRgbaWithDepth)
{
    const HWND top = X11CreateWindowExA(0, "Top", "Top", WS_POPUP, 0, 0, 32, 32, nullptr, nullptr, nullptr,
                                        nullptr);
    ASSERT_NE(top, nullptr);
    const HDC dc = X11GetDC(top);
    PIXELFORMATDESCRIPTOR wanted = {};
    wanted.nSize = sizeof wanted;
    wanted.nVersion = 1;
    wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER | PFD_GENERIC_ACCELERATED;
    wanted.iPixelType = PFD_TYPE_RGBA;
    wanted.cColorBits = 24;
    wanted.cDepthBits = 32;
    const int format = X11ChoosePixelFormat(dc, &wanted);
    ASSERT_GT(format, 0);
    PIXELFORMATDESCRIPTOR got = {};
    const int count = X11DescribePixelFormat(dc, format, sizeof got, &got);
    EXPECT_GE(count, format);
    EXPECT_EQ(got.dwFlags & (PFD_DRAW_TO_WINDOW | PFD_DOUBLEBUFFER), DWORD(PFD_DRAW_TO_WINDOW | PFD_DOUBLEBUFFER));
    EXPECT_EQ(got.iPixelType, PFD_TYPE_RGBA);
    EXPECT_GE(got.cColorBits, 24);
    EXPECT_GT(got.cDepthBits, 0);
    // A format of another visual cannot be given to this window; its own
    // can, once.
    int foreign = 0;
    for (int f = 1; f <= count && foreign == 0; ++f) {
        PIXELFORMATDESCRIPTOR other = {};
        X11DescribePixelFormat(dc, f, sizeof other, &other);
        if (f != format && other.cColorBits != got.cColorBits) foreign = f;
    }
    if (foreign != 0) {
        EXPECT_FALSE(X11SetPixelFormat(dc, foreign, &wanted));
    }
    EXPECT_TRUE(X11SetPixelFormat(dc, format, &wanted));
    EXPECT_EQ(X11DescribePixelFormat(dc, 0, 0, nullptr), count);
    EXPECT_EQ(X11DescribePixelFormat(dc, count + 1, sizeof got, &got), 0);
    X11DestroyWindow(top);
}
}  // namespace
