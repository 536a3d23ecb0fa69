// The Windows program's window procedures and the checked platform call. The
// about box lives in configure_dialog.cpp; the saver and render windows join
// here. Every platform call goes through the RenderWindow table, so that the
// tests can stand in for the system.
#include "main.h"

#include <cstdlib>

#include "framework/close_rules.h"
#include "framework/entry.h"
#include "platform/gl.h"
#include "platform/render_window.h"
#include "render.h"
#include "saver_runtime.h"
#include "utility/diagnostics.h"

HDC RenderDC = NULL;
HGLRC RenderContext = NULL;

namespace {
// Room for the longest call name with " failed."; a longer name is cut short
// rather than overrunning the buffer.
constexpr size_t CHECK_MESSAGE_SIZE = 500;

constexpr UINT RENDER_CLASS_STYLE = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
constexpr DWORD RENDER_WINDOW_STYLE = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

PIXELFORMATDESCRIPTOR RenderPixelFormat()
{
    PIXELFORMATDESCRIPTOR descriptor = {};
    descriptor.nSize = sizeof descriptor;
    descriptor.nVersion = 1;
    descriptor.dwFlags =
        PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER | PFD_GENERIC_ACCELERATED;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = 24;
    descriptor.cDepthBits = 32;
    descriptor.iLayerType = PFD_MAIN_PLANE;
    return descriptor;
}

void CreateRenderWindow(HWND saver_window)
{
    RECT client = {0, 0, 0, 0};
    RenderWindow.GetClientRect(saver_window, &client);

    WNDCLASSA render_class = {};
    render_class.style = RENDER_CLASS_STYLE;
    render_class.lpfnWndProc = ScreenSaverChildProc;
    render_class.hInstance = SaverInstance;
    render_class.hbrBackground = reinterpret_cast<HBRUSH>(RenderWindow.GetStockObject(BLACK_BRUSH));
    render_class.lpszClassName = PRODUCT_NAME;
    CheckResult(RenderWindow.RegisterClassA(&render_class), 0, "RegisterClass");

    // The child takes the saver window's size once: later size changes of the
    // saver window do not reach it.
    const HWND child = RenderWindow.CreateWindowExA(
        0, PRODUCT_NAME, PRODUCT_NAME, RENDER_WINDOW_STYLE, 0, 0, client.right, client.bottom,
        saver_window, NULL, SaverInstance, NULL);
    CheckResult(reinterpret_cast<INT_PTR>(child), 0, "CreateWindow");
}

void StartRendering(HWND hwnd)
{
    Trace("ScreenSaverChildProc:WM_CREATE\n");
    RenderDC = RenderWindow.GetDC(hwnd);
    PIXELFORMATDESCRIPTOR descriptor = RenderPixelFormat();
    const int format = RenderWindow.ChoosePixelFormat(RenderDC, &descriptor);
    CheckResult(format, 0, "ChoosePixelFormat");
    CheckResult(RenderWindow.SetPixelFormat(RenderDC, format, &descriptor), 0, "SetPixelFormat");
    RenderWindow.DescribePixelFormat(RenderDC, format, sizeof descriptor, &descriptor);
    RenderContext = RenderWindow.wglCreateContext(RenderDC);
    CheckResult(reinterpret_cast<INT_PTR>(RenderContext), 0, "wglCreateContext");
    CheckResult(RenderWindow.wglMakeCurrent(RenderDC, RenderContext), 0, "wglMakeCurrent");
    SaverStart(RenderDC, [hwnd] { RenderWindow.InvalidateRect(hwnd, NULL, FALSE); });
}

void DrawFrame(HWND hwnd)
{
    PAINTSTRUCT paint;
    RenderWindow.BeginPaint(hwnd, &paint);
    SaverFrame();
    glFlush();
    RenderWindow.SwapBuffers(RenderDC);
    RenderWindow.EndPaint(hwnd, &paint);
    // The next paint follows as soon as the queue is otherwise empty: frames
    // run back to back, paced by the swap and the queue, with no timer.
    RenderWindow.InvalidateRect(hwnd, NULL, FALSE);
}

void ReleaseRenderContext(HWND hwnd)
{
    RenderWindow.ChangeDisplaySettingsA(NULL, 0);
    RenderWindow.wglMakeCurrent(NULL, NULL);
    RenderWindow.wglDeleteContext(RenderContext);
    RenderContext = NULL;
    RenderWindow.ReleaseDC(hwnd, RenderDC);
    RenderDC = NULL;
    // The program ends with the render window, whether it was closed itself
    // or went with the saver window.
    RenderWindow.PostQuitMessage(0);
}

void StopRendering(HWND hwnd)
{
    Trace("ScreenSaverChildProc:WM_DESTROY\n");
    SaverStop([hwnd] { ReleaseRenderContext(hwnd); });
}
}  // namespace

void CheckResult(INT_PTR result, INT_PTR failure_value, const char* function_name)
{
    // Checked before the result: a call site without a name is a fault even
    // when its call succeeded.
    ASSERT(function_name != NULL);
    if (result != failure_value) return;

    char text[CHECK_MESSAGE_SIZE];
    FormatFailure(text, sizeof text, function_name);
    RenderWindow.MessageBoxA(NULL, text, PRODUCT_NAME, MB_ICONERROR | MB_OK | MB_APPLMODAL);
    // The orderly exit, so that exit-time hooks still run; nothing is torn
    // down first.
    std::exit(1);
}

LRESULT CALLBACK ScreenSaverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        SaverSeed();
        Trace("ScreenSaverProc:WM_CREATE\n");
        CreateRenderWindow(hwnd);
    }
    return DefaultSaverHandling(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK ScreenSaverChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        StartRendering(hwnd);
        return 0;
    case WM_SIZE:
        Trace("ScreenSaverChildProc:WM_SIZE\n");
        CRender::Resize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_PAINT:
        DrawFrame(hwnd);
        return 0;
    case WM_DESTROY:
        StopRendering(hwnd);
        return 0;
    default:
        return DefaultSaverHandling(hwnd, message, wParam, lParam);
    }
}
