#include "support/fake_saver_window.h"

#include <cstring>

#include "framework/saver_window.h"

namespace {
FakeSaverWindow* current = nullptr;

HICON WINAPI FakeLoadIconA(HINSTANCE, LPCSTR name)
{
    current->platform.Log("LoadIconA(%lu)", Number(name));
    return nullptr;
}

HGDIOBJ WINAPI FakeGetStockObject(int object) { return reinterpret_cast<HGDIOBJ>(uintptr_t(0xB000 + object)); }

ATOM WINAPI FakeRegisterClassA(const WNDCLASSA* window_class)
{
    current->platform.Log("RegisterClassA(%s)", window_class->lpszClassName);
    current->registered = *window_class;
    return current->classAtom;
}

HWND WINAPI FakeCreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x,
                                int y, int width, int height, HWND parent, HMENU, HINSTANCE, LPVOID)
{
    current->platform.Log("CreateWindowExA(0x%lx, %s, %s, 0x%08lx, %d, %d, %d, %d, %lu)",
           static_cast<unsigned long>(ex_style), class_name, title, static_cast<unsigned long>(style),
           x, y, width, height, Number(parent));
    return reinterpret_cast<HWND>(current->createdWindow);
}

BOOL WINAPI FakeGetClientRect(HWND window, RECT* rect)
{
    current->platform.Log("GetClientRect(%lu)", Number(window));
    return *rect = current->hostClient, TRUE;
}

HDC WINAPI FakeGetDC(HWND) { return reinterpret_cast<HDC>(uintptr_t(0xDC)); }

int WINAPI FakeGetClipBox(HDC, RECT* rect) { return *rect = current->screen, 1; }

int WINAPI FakeReleaseDC(HWND, HDC) { return 1; }

HWND WINAPI FakeFindWindowA(LPCSTR class_name, LPCSTR title)
{
    current->platform.Log("FindWindowA(%s, %s)", class_name, title);
    return reinterpret_cast<HWND>(current->runningSaver);
}

BOOL WINAPI FakeIsWindow(HWND window)
{
    current->platform.Log("IsWindow(%lu)", Number(window));
    return window != nullptr;
}

BOOL WINAPI FakeSetForegroundWindow(HWND window)
{
    current->platform.Log("SetForegroundWindow(%lu)", Number(window));
    return TRUE;
}

UINT WINAPI FakeRegisterWindowMessageA(LPCSTR name)
{
    current->platform.Log("RegisterWindowMessageA(%s)", name);
    return 0xC123;
}

BOOL WINAPI FakeGetMessageA(MSG* message, HWND, UINT, UINT)
{
    if (current->queue.empty()) {
        *message = MSG{};
        message->message = WM_QUIT;
        message->wParam = WPARAM(current->quitCode);
        return FALSE;
    }
    *message = current->queue.front();
    current->queue.pop_front();
    return TRUE;
}

BOOL WINAPI FakeTranslateMessage(const MSG*) { return FALSE; }

LRESULT WINAPI FakeDispatchMessageA(const MSG* message)
{
    current->platform.Log("DispatchMessageA(0x%x)", message->message);
    return SaverWindowProc(message->hwnd, message->message, message->wParam, message->lParam);
}

void WINAPI FakePostQuitMessage(int code) { current->platform.Log("PostQuitMessage(%d)", code); }

HMODULE WINAPI FakeGetModuleHandleA(LPCSTR name)
{
    current->platform.Log("GetModuleHandleA(%s)", name);
    return current->imeLoaded ? reinterpret_cast<HMODULE>(uintptr_t(0x1DE)) : nullptr;
}

HIMC WINAPI FakeImmAssociateContext(HWND window, HIMC context)
{
    current->platform.Log("ImmAssociateContext(%lu, %lu)", Number(window), Number(context));
    return reinterpret_cast<HIMC>(current->imeContext);
}

FARPROC WINAPI FakeGetProcAddress(HMODULE, LPCSTR name)
{
    current->platform.Log("GetProcAddress(%s)", name);
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(FakeImmAssociateContext));
}

BOOL WINAPI FakeGetCursorPos(POINT* position) { return *position = current->platform.cursor, TRUE; }

HCURSOR WINAPI FakeSetCursor(HCURSOR cursor)
{
    current->platform.Log("SetCursor(%lu)", Number(cursor));
    return nullptr;
}

HWND WINAPI FakeGetParent(HWND) { return reinterpret_cast<HWND>(current->parentOfWindow); }

BOOL WINAPI FakePostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    current->platform.Log("PostMessageA(%lu, 0x%x, %lu, %ld)", Number(window), message,
           static_cast<unsigned long>(wParam), static_cast<long>(lParam));
    return TRUE;
}

void WINAPI FakeSleep(DWORD milliseconds) { current->platform.Log("Sleep(%lu)", static_cast<unsigned long>(milliseconds)); }

LRESULT WINAPI FakeDefWindowProcA(HWND, UINT message, WPARAM, LPARAM)
{
    current->platform.Log("DefWindowProcA(0x%x)", message);
    return 99;
}

LRESULT CALLBACK FakeScreenSaverProc(HWND, UINT message, WPARAM wParam, LPARAM)
{
    current->platform.Log("ScreenSaverProc(0x%x, %lu)", message, static_cast<unsigned long>(wParam));
    return current->programResult;
}

SaverWindowPlatform saved;

void ResetWindowState()
{
    SaverWindow = nullptr;
    ImeModule = nullptr;
    ImeAssociateFn = nullptr;
    SavedInputContext = nullptr;
}
}  // namespace

FakeSaverWindow::FakeSaverWindow(FakeSaverPlatform& platform_) : platform(platform_)
{
    current = this;
    saved = SaverWindowOps;
    SaverWindowOps = {FakeLoadIconA,         FakeGetStockObject,
                      FakeRegisterClassA,    FakeCreateWindowExA,
                      FakeGetClientRect,     FakeGetDC,
                      FakeGetClipBox,        FakeReleaseDC,
                      FakeFindWindowA,       FakeIsWindow,
                      FakeSetForegroundWindow, FakeRegisterWindowMessageA,
                      FakeGetMessageA,       FakeTranslateMessage,
                      FakeDispatchMessageA,  FakePostQuitMessage,
                      FakeGetModuleHandleA,  FakeGetProcAddress,
                      FakeGetCursorPos,      FakeSetCursor,
                      FakeGetParent,         FakePostMessageA,
                      FakeSleep,             FakeDefWindowProcA,
                      FakeScreenSaverProc};
    ResetWindowState();
}

FakeSaverWindow::~FakeSaverWindow()
{
    SaverWindowOps = saved;
    ResetWindowState();
    current = nullptr;
}
