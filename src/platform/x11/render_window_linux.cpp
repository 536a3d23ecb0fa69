// The program's own windows on the X11 host: the window layer for classes,
// windows and painting, GLX for the pixel format, the context and the buffer
// swap, and a GTK notice for the error box.
#include "platform/render_window.h"
#include "platform/x11/device_context.h"
#include "platform/x11/glx_pixel_format.h"
#include "platform/x11/message_box.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_windows.h"

// After the Win32 names: GL's header leaves an APIENTRY that is defined alone.
#include <GL/glx.h>

namespace {
// What an HGLRC stands for here.
struct X11GlContext {
    Display* display;
    GLXContext context;
    GLXDrawable drawable;  // the last one it was made current on
};

bool DrawableExists(Display* display, GLXDrawable drawable)
{
    X11ErrorTrap trap(display);
    XWindowAttributes attributes;
    const Status found = XGetWindowAttributes(display, drawable, &attributes);
    return !trap.Failed() && found != 0;
}

GLXFBConfig ConfigOfFormat(Display* display, int format)
{
    int count = 0;
    GLXFBConfig* configs = glXGetFBConfigs(display, DefaultScreen(display), &count);
    GLXFBConfig config = (configs != nullptr && format >= 1 && format <= count) ? configs[format - 1] : nullptr;
    if (configs != nullptr) XFree(configs);
    return config;
}

HGLRC WINAPI CreateContext(HDC dc)
{
    const X11DeviceContext* context = FromHdc(dc);
    if (context == nullptr || context->display == nullptr || context->pixel_format == 0) return nullptr;
    const GLXFBConfig config = ConfigOfFormat(context->display, context->pixel_format);
    if (config == nullptr) return nullptr;
    const GLXContext gl = glXCreateNewContext(context->display, config, GLX_RGBA_TYPE, nullptr, True);
    if (gl == nullptr) return nullptr;
    return reinterpret_cast<HGLRC>(new X11GlContext{context->display, gl, 0});
}

BOOL WINAPI MakeCurrent(HDC dc, HGLRC rendering_context)
{
    X11GlContext* gl = reinterpret_cast<X11GlContext*>(rendering_context);
    if (gl == nullptr) {
        Display* display = X11Display();
        if (display == nullptr) return FALSE;
        return glXMakeContextCurrent(display, None, None, nullptr);
    }
    const X11DeviceContext* context = FromHdc(dc);
    if (context == nullptr || context->drawable == 0) return FALSE;
    gl->drawable = context->drawable;
    return glXMakeContextCurrent(gl->display, context->drawable, context->drawable, gl->context);
}

BOOL WINAPI DeleteContext(HGLRC rendering_context)
{
    X11GlContext* gl = reinterpret_cast<X11GlContext*>(rendering_context);
    if (gl == nullptr) return FALSE;
    if (glXGetCurrentContext() == gl->context) glXMakeContextCurrent(gl->display, None, None, nullptr);
    // A preview's window goes with its host, before the program can let go
    // of the context; Mesa's software renderer then corrupts the heap when
    // the context is destroyed. Such a context is left to the process's end,
    // which follows at once: the render window's destruction ends the saver.
    if (gl->drawable == 0 || DrawableExists(gl->display, gl->drawable))
        glXDestroyContext(gl->display, gl->context);
    delete gl;
    return TRUE;
}

BOOL WINAPI Swap(HDC dc)
{
    const X11DeviceContext* context = FromHdc(dc);
    if (context == nullptr || context->display == nullptr) return FALSE;
    glXSwapBuffers(context->display, context->drawable);
    return TRUE;
}

// The display mode is never changed on this host, so there is nothing to restore.
LONG WINAPI KeepDisplayMode(DEVMODEA*, DWORD) { return DISP_CHANGE_SUCCESSFUL; }
}  // namespace

RenderWindowPlatform RenderWindow = {
    X11GetClientRect,
    X11GetStockObject,
    X11RegisterClassA,
    X11CreateWindowExA,
    X11GetDC,
    X11ReleaseDC,
    X11ChoosePixelFormat,
    X11SetPixelFormat,
    X11DescribePixelFormat,
    CreateContext,
    MakeCurrent,
    DeleteContext,
    Swap,
    X11BeginPaint,
    X11EndPaint,
    X11InvalidateRect,
    KeepDisplayMode,
    X11PostQuitMessage,
    GtkMessageBoxA,
};
