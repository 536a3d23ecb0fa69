// The X11 window layer: Win32 windows, window classes and the thread's
// message queue, stood in for with X windows and X events. A window handle
// is an X window id, for the saver's own windows and for other programs'
// alike (a preview host, the running saver of another process). The
// saver's own windows are created with the OpenGL visual, so that any of
// them can take a pixel format; each owns its device context (CS_OWNDC).
#pragma once

#include "platform/wintypes.h"

ATOM WINAPI X11RegisterClassA(const WNDCLASSA* window_class);
HWND WINAPI X11CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y,
                               int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                               LPVOID parameter);
BOOL WINAPI X11DestroyWindow(HWND window);
BOOL WINAPI X11IsWindow(HWND window);
BOOL WINAPI X11GetClientRect(HWND window, RECT* rect);
HWND WINAPI X11GetParent(HWND window);
HWND WINAPI X11FindWindowA(LPCSTR class_name, LPCSTR title);
HWND WINAPI X11GetForegroundWindow();
BOOL WINAPI X11SetForegroundWindow(HWND window);

HDC WINAPI X11GetDC(HWND window);
int WINAPI X11ReleaseDC(HWND window, HDC dc);
int WINAPI X11GetClipBox(HDC dc, RECT* rect);
HICON WINAPI X11LoadIconA(HINSTANCE instance, LPCSTR name);
HGDIOBJ WINAPI X11GetStockObject(int object);

BOOL WINAPI X11GetMessageA(MSG* message, HWND window, UINT first, UINT last);
BOOL WINAPI X11PeekMessageA(MSG* message, HWND window, UINT first, UINT last, UINT remove);
BOOL WINAPI X11TranslateMessage(const MSG* message);
LRESULT WINAPI X11DispatchMessageA(const MSG* message);
LRESULT WINAPI X11SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI X11PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void WINAPI X11PostQuitMessage(int code);
LRESULT WINAPI X11DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
UINT WINAPI X11RegisterWindowMessageA(LPCSTR name);

BOOL WINAPI X11InvalidateRect(HWND window, const RECT* rect, BOOL erase);
HDC WINAPI X11BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL WINAPI X11EndPaint(HWND window, const PAINTSTRUCT* paint);

BOOL WINAPI X11GetCursorPos(POINT* position);
HCURSOR WINAPI X11SetCursor(HCURSOR cursor);
