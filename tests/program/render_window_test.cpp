// Every checked call on the way to the render window and its OpenGL context
// that fails ends the process with the error box "<call> failed.".
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "main.h"
#include "platform/render_window.h"

namespace {
const HWND SAVER = reinterpret_cast<HWND>(uintptr_t(0x5A5A));
const HWND CHILD = reinterpret_cast<HWND>(uintptr_t(0xC0C0));
const HGLRC CONTEXT = reinterpret_cast<HGLRC>(uintptr_t(0x6C6C));
using PFD = PIXELFORMATDESCRIPTOR;
constexpr UINT ERROR_BOX = MB_ICONERROR | MB_OK | MB_APPLMODAL;

// The call that fails; every other succeeds.
std::string failing;
bool Fails(const char* call) { return failing == call; }

// The RenderWindow table as far as the render window's creation goes, then
// the creation through the window's procedure; the process should not come
// back from it.
void CreateWithFailing(const char* call, WNDPROC procedure, HWND window)
{
    failing = call;
    RenderWindowPlatform& table = RenderWindow;
    table = {};
    table.GetClientRect = [](HWND, RECT*) WINAPI { return TRUE; };
    table.GetStockObject = [](int) WINAPI { return HGDIOBJ(nullptr); };
    table.RegisterClassA = [](const WNDCLASSA*) WINAPI { return ATOM(!Fails("RegisterClass")); };
    table.CreateWindowExA =
        [](DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID)
            WINAPI { return Fails("CreateWindow") ? nullptr : CHILD; };
    table.GetDC = [](HWND) WINAPI { return HDC(nullptr); };
    table.ChoosePixelFormat = [](HDC, const PFD*)
                                  WINAPI { return int(!Fails("ChoosePixelFormat")); };
    table.SetPixelFormat = [](HDC, int, const PFD*)
                               WINAPI { return BOOL(!Fails("SetPixelFormat")); };
    table.DescribePixelFormat = [](HDC, int, UINT, PFD*) WINAPI { return 1; };
    table.wglCreateContext = [](HDC)
                                 WINAPI { return Fails("wglCreateContext") ? nullptr : CONTEXT; };
    table.wglMakeCurrent = [](HDC, HGLRC) WINAPI { return BOOL(!Fails("wglMakeCurrent")); };
    // Only an error box captioned with the product's name, with the error
    // icon and no owner, is written, to the error stream that the test reads.
    table.MessageBoxA = [](HWND owner, LPCSTR text, LPCSTR caption, UINT type) WINAPI {
        const bool box = !owner && type == ERROR_BOX && !std::strcmp(caption, "Lumenfall");
        return std::fputs(box ? text : "", stderr);
    };
    procedure(window, WM_CREATE, 0, 0);
    std::exit(0);
}

TEST(RenderWindowTest, EachFailedCheckedCallEndsWithItsErrorBox)
{
    const struct {
        const char* call;
        WNDPROC procedure;
        HWND window;
    } cases[] = {
        {"RegisterClass", ScreenSaverProc, SAVER},
        {"CreateWindow", ScreenSaverProc, SAVER},
        {"ChoosePixelFormat", ScreenSaverChildProc, CHILD},
        {"SetPixelFormat", ScreenSaverChildProc, CHILD},
        {"wglCreateContext", ScreenSaverChildProc, CHILD},
        {"wglMakeCurrent", ScreenSaverChildProc, CHILD},
    };
    for (const auto& row : cases)
        EXPECT_EXIT(CreateWithFailing(row.call, row.procedure, row.window),
                    testing::ExitedWithCode(1), std::string(row.call) + " failed\\.$");
}
}  // namespace
