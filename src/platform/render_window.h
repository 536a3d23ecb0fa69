// What the Windows program's own windows need from beneath: the render
// child's class and window, its device context, pixel format and OpenGL
// context, painting, the display mode, the quit message and the error box.
// The Windows build passes these straight through to USER, GDI and WGL;
// tests replace entries.
#pragma once

#include "platform/win32_api.h"

struct RenderWindowPlatform {
    BOOL(WINAPI* GetClientRect)(HWND window, RECT* rect);
    HGDIOBJ(WINAPI* GetStockObject)(int object);
    ATOM(WINAPI* RegisterClassA)(const WNDCLASSA* window_class);
    HWND(WINAPI* CreateWindowExA)
    (DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y, int width,
     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter);
    HDC(WINAPI* GetDC)(HWND window);
    int(WINAPI* ReleaseDC)(HWND window, HDC dc);
    int(WINAPI* ChoosePixelFormat)(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor);
    BOOL(WINAPI* SetPixelFormat)(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor);
    int(WINAPI* DescribePixelFormat)(HDC dc, int format, UINT size,
                                     PIXELFORMATDESCRIPTOR* descriptor);
    HGLRC(WINAPI* wglCreateContext)(HDC dc);
    BOOL(WINAPI* wglMakeCurrent)(HDC dc, HGLRC context);
    BOOL(WINAPI* wglDeleteContext)(HGLRC context);
    BOOL(WINAPI* SwapBuffers)(HDC dc);
    HDC(WINAPI* BeginPaint)(HWND window, PAINTSTRUCT* paint);
    BOOL(WINAPI* EndPaint)(HWND window, const PAINTSTRUCT* paint);
    BOOL(WINAPI* InvalidateRect)(HWND window, const RECT* rect, BOOL erase);
    LONG(WINAPI* ChangeDisplaySettingsA)(DEVMODEA* mode, DWORD flags);
    void(WINAPI* PostQuitMessage)(int code);
    int(WINAPI* MessageBoxA)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
};
extern RenderWindowPlatform RenderWindow;
