#include "platform/wayland/egl_context.h"

#include <EGL/eglext.h>

#include <cstdio>
#include <string>

namespace {
std::string EglError(const char* what)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%04x", unsigned(eglGetError()));
    return std::string(what) + " (EGL error " + code + ")";
}

// True colour with 8 bits a channel and a depth buffer, without alpha: the
// compositor blends a surface with alpha over what lies beneath, and the
// scene clears to transparent black.
bool ChooseConfig(EGLDisplay display, EGLConfig* chosen)
{
    static const EGLint request[] = {EGL_SURFACE_TYPE,
                                     EGL_WINDOW_BIT,
                                     EGL_RENDERABLE_TYPE,
                                     EGL_OPENGL_BIT,
                                     EGL_RED_SIZE,
                                     8,
                                     EGL_GREEN_SIZE,
                                     8,
                                     EGL_BLUE_SIZE,
                                     8,
                                     EGL_DEPTH_SIZE,
                                     1,
                                     EGL_NONE};
    constexpr EGLint MOST_CONFIGS = 64;
    EGLConfig configs[MOST_CONFIGS];
    EGLint count = 0;
    if (!eglChooseConfig(display, request, configs, MOST_CONFIGS, &count) || count == 0)
        return false;
    *chosen = configs[0];
    for (EGLint i = 0; i < count; ++i) {
        EGLint alpha = 0;
        if (eglGetConfigAttrib(display, configs[i], EGL_ALPHA_SIZE, &alpha) && alpha == 0) {
            *chosen = configs[i];
            break;
        }
    }
    return true;
}

EGLContext CreateContext(EGLDisplay display, EGLConfig config)
{
    static const EGLint compatibility[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                           EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    const EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, compatibility);
    if (context != EGL_NO_CONTEXT) return context;
    // EGL 1.4 without EGL_KHR_create_context knows no profiles; its desktop
    // contexts are of the old kind anyway.
    return eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
}
}  // namespace

bool StartEglWayland(EglWayland& egl, wl_display* display, wl_surface* surface, int width,
                     int height, WaylandFailure* failure)
{
    egl.display = eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, display, nullptr);
    if (egl.display == EGL_NO_DISPLAY || !eglInitialize(egl.display, nullptr, nullptr)) {
        *failure = {"eglInitialize", EglError("EGL cannot draw on this compositor")};
        return false;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        *failure = {"eglBindAPI", EglError("EGL offers no desktop OpenGL here")};
        return false;
    }
    EGLConfig config = nullptr;
    if (!ChooseConfig(egl.display, &config)) {
        *failure = {"eglChooseConfig",
                    EglError("EGL has no true-colour OpenGL configuration with a depth buffer")};
        return false;
    }
    egl.context = CreateContext(egl.display, config);
    if (egl.context == EGL_NO_CONTEXT) {
        *failure = {"eglCreateContext", EglError("EGL gave no OpenGL context")};
        return false;
    }
    egl.window = wl_egl_window_create(surface, width, height);
    if (egl.window != nullptr)
        egl.surface = eglCreateWindowSurface(
            egl.display, config, reinterpret_cast<EGLNativeWindowType>(egl.window), nullptr);
    if (egl.surface == EGL_NO_SURFACE) {
        *failure = {"eglCreateWindowSurface", EglError("EGL cannot draw into the surface")};
        return false;
    }
    if (!eglMakeCurrent(egl.display, egl.surface, egl.surface, egl.context)) {
        *failure = {"eglMakeCurrent", EglError("the OpenGL context cannot draw into the surface")};
        return false;
    }
    // Interval 1 would have Mesa wait for a frame callback of its own inside
    // every swap, out of reach of the stop signals and of our events.
    eglSwapInterval(egl.display, 0);
    return true;
}

void ResizeEglWayland(EglWayland& egl, int width, int height)
{
    if (egl.window != nullptr) wl_egl_window_resize(egl.window, width, height, 0, 0);
}

bool SwapEglWayland(EglWayland& egl) { return eglSwapBuffers(egl.display, egl.surface); }

void StopEglWayland(EglWayland& egl)
{
    if (egl.display == EGL_NO_DISPLAY) return;
    eglMakeCurrent(egl.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (egl.surface != EGL_NO_SURFACE) eglDestroySurface(egl.display, egl.surface);
    if (egl.window != nullptr) wl_egl_window_destroy(egl.window);
    if (egl.context != EGL_NO_CONTEXT) eglDestroyContext(egl.display, egl.context);
    eglTerminate(egl.display);
    egl = EglWayland();
}
