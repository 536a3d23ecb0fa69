#include "platform/x11/x11_display.h"

#include <unistd.h>

#include <cstdio>

namespace {
unsigned long ErrorCount = 0;

int CountError(Display*, XErrorEvent*)
{
    ++ErrorCount;
    return 0;
}
}  // namespace

Display* X11Display()
{
    static Display* display = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        XSetErrorHandler(CountError);
        display = XOpenDisplay(nullptr);
    }
    return display;
}

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display), errors_before_(ErrorCount) {}

bool X11ErrorTrap::Failed()
{
    XSync(display_, False);
    return ErrorCount != errors_before_;
}

bool WindowExists(Display* display, Window window)
{
    if (window == 0) return false;
    X11ErrorTrap trap(display);
    XWindowAttributes attributes;
    const Status found = XGetWindowAttributes(display, window, &attributes);
    return !trap.Failed() && found != 0;
}

BOOL WINAPI MessageBeepX11(UINT)
{
    Display* display = X11Display();
    if (display == nullptr) {
        if (isatty(STDERR_FILENO)) std::fputs("\a", stderr);
        return TRUE;
    }
    XBell(display, 0);
    XFlush(display);
    return TRUE;
}
