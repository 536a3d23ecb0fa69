// The saver window's operations on Linux: the X11 window layer. Libraries
// are looked up without being loaded, so the input method of Windows
// ("IMM32.DLL") is never found here.
#include <unistd.h>

#include "platform/saver_window.h"
#include "platform/x11/shared_library_linux.h"
#include "platform/x11/x11_windows.h"

namespace {
void WINAPI YieldFor(DWORD milliseconds) { usleep(useconds_t(milliseconds) * 1000); }
}  // namespace

SaverWindowPlatform SaverWindowOps = {
    X11LoadIconA,
    X11GetStockObject,
    X11RegisterClassA,
    X11CreateWindowExA,
    X11GetClientRect,
    X11GetDC,
    X11GetClipBox,
    X11ReleaseDC,
    X11FindWindowA,
    X11IsWindow,
    X11SetForegroundWindow,
    X11RegisterWindowMessageA,
    X11GetMessageA,
    X11TranslateMessage,
    X11DispatchMessageA,
    X11PostQuitMessage,
    FindLoadedSharedLibrary,
    FindSharedLibraryRoutine,
    X11GetCursorPos,
    X11SetCursor,
    X11GetParent,
    X11PostMessageA,
    YieldFor,
    X11DefWindowProcA,
    nullptr,
};
