// The saver window's operations on Linux, until the X11 window layer takes
// them over: no class can be registered and no window made, so a run ends at
// once as a failed one.
#include <unistd.h>

#include "platform/saver_window.h"

namespace {
HICON NoIcon(HINSTANCE, LPCSTR) { return nullptr; }
HGDIOBJ NoStockObject(int) { return nullptr; }
ATOM NoClass(const WNDCLASSA*) { return 0; }
HWND NoWindow(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID)
{
    return nullptr;
}
BOOL NoClientRect(HWND, RECT* rect)
{
    *rect = RECT{0, 0, 0, 0};
    return FALSE;
}
HDC NoDC(HWND) { return nullptr; }
int NoClipBox(HDC, RECT* rect)
{
    *rect = RECT{0, 0, 0, 0};
    return 0;
}
int NoRelease(HWND, HDC) { return 0; }
HWND NoRunningSaver(LPCSTR, LPCSTR) { return nullptr; }
BOOL NotAWindow(HWND) { return FALSE; }
BOOL NoForeground(HWND) { return FALSE; }
UINT NoMessage(LPCSTR) { return 0; }
BOOL NoMessages(MSG* message, HWND, UINT, UINT)
{
    *message = MSG{};
    return FALSE;
}
BOOL NoTranslation(const MSG*) { return FALSE; }
LRESULT NoDispatch(const MSG*) { return 0; }
void NoQuit(int) {}
HMODULE NoModule(LPCSTR) { return nullptr; }
FARPROC NoRoutine(HMODULE, LPCSTR) { return nullptr; }
BOOL NoCursor(POINT* position)
{
    *position = POINT{0, 0};
    return FALSE;
}
HCURSOR NoCursorShape(HCURSOR) { return nullptr; }
HWND NoParent(HWND) { return nullptr; }
BOOL NoPost(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
void YieldFor(DWORD milliseconds) { usleep(milliseconds * 1000); }
LRESULT NoDefault(HWND, UINT, WPARAM, LPARAM) { return 0; }
}  // namespace

SaverWindowPlatform SaverWindowOps = {
    NoIcon,       NoStockObject, NoClass,   NoWindow,      NoClientRect,  NoDC,
    NoClipBox,    NoRelease,     NoRunningSaver, NotAWindow, NoForeground, NoMessage,
    NoMessages,   NoTranslation, NoDispatch, NoQuit,       NoModule,      NoRoutine,
    NoCursor,     NoCursorShape, NoParent,  NoPost,        YieldFor,      NoDefault,
    nullptr,
};
