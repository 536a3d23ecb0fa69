// What the saver window and its message loop need from beneath: the window
// class and window, the screen's size, the running saver's window, the
// message loop, the input method and the cursor. The last entry is the
// program's own window procedure, which the host fills in at start-up; tests
// replace any entry with a double.
#pragma once

#include "platform/win32_api.h"

struct SaverWindowPlatform {
    HICON(WINAPI* LoadIconA)(HINSTANCE instance, LPCSTR name);
    HGDIOBJ(WINAPI* GetStockObject)(int object);
    ATOM(WINAPI* RegisterClassA)(const WNDCLASSA* window_class);
    HWND(WINAPI* CreateWindowExA)
    (DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y, int width,
     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter);
    BOOL(WINAPI* GetClientRect)(HWND window, RECT* rect);
    HDC(WINAPI* GetDC)(HWND window);
    int(WINAPI* GetClipBox)(HDC dc, RECT* rect);
    int(WINAPI* ReleaseDC)(HWND window, HDC dc);
    HWND(WINAPI* FindWindowA)(LPCSTR class_name, LPCSTR title);
    BOOL(WINAPI* IsWindow)(HWND window);
    BOOL(WINAPI* SetForegroundWindow)(HWND window);
    UINT(WINAPI* RegisterWindowMessageA)(LPCSTR name);
    BOOL(WINAPI* GetMessageA)(MSG* message, HWND window, UINT first, UINT last);
    BOOL(WINAPI* TranslateMessage)(const MSG* message);
    LRESULT(WINAPI* DispatchMessageA)(const MSG* message);
    void(WINAPI* PostQuitMessage)(int code);
    HMODULE(WINAPI* GetModuleHandleA)(LPCSTR name);
    FARPROC(WINAPI* GetProcAddress)(HMODULE module, LPCSTR name);
    BOOL(WINAPI* GetCursorPos)(POINT* position);
    HCURSOR(WINAPI* SetCursor)(HCURSOR cursor);
    HWND(WINAPI* GetParent)(HWND window);
    BOOL(WINAPI* PostMessageA)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void(WINAPI* Sleep)(DWORD milliseconds);
    LRESULT(WINAPI* DefWindowProcA)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The program's procedure for the saver window.
    WNDPROC ScreenSaverProc;
};
extern SaverWindowPlatform SaverWindowOps;
