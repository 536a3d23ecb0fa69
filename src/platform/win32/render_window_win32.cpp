#include "platform/render_window.h"

RenderWindowPlatform RenderWindow = {
    GetClientRect,
    GetStockObject,
    RegisterClassA,
    CreateWindowExA,
    GetDC,
    ReleaseDC,
    ChoosePixelFormat,
    SetPixelFormat,
    DescribePixelFormat,
    wglCreateContext,
    wglMakeCurrent,
    wglDeleteContext,
    SwapBuffers,
    BeginPaint,
    EndPaint,
    InvalidateRect,
    ChangeDisplaySettingsA,
    PostQuitMessage,
    MessageBoxA,
};
