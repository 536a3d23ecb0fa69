#include "platform/render_window.h"

RenderWindowPlatform RenderWindow = {
    .GetClientRect = GetClientRect,
    .GetStockObject = GetStockObject,
    .RegisterClassA = RegisterClassA,
    .CreateWindowExA = CreateWindowExA,
    .GetDC = GetDC,
    .ReleaseDC = ReleaseDC,
    .ChoosePixelFormat = ChoosePixelFormat,
    .SetPixelFormat = SetPixelFormat,
    .DescribePixelFormat = DescribePixelFormat,
    .wglCreateContext = wglCreateContext,
    .wglMakeCurrent = wglMakeCurrent,
    .wglDeleteContext = wglDeleteContext,
    .SwapBuffers = SwapBuffers,
    .BeginPaint = BeginPaint,
    .EndPaint = EndPaint,
    .InvalidateRect = InvalidateRect,
    .ChangeDisplaySettingsA = ChangeDisplaySettingsA,
    .PostQuitMessage = PostQuitMessage,
    .MessageBoxA = MessageBoxA,
};
