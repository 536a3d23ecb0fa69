// OpenGL on the compositor: desktop OpenGL through EGL (a compatibility
// context, so that the scene's OpenGL 1.1 runs unchanged) drawing into a
// wayland-egl window over the scene's surface.
#pragma once

#include <EGL/egl.h>
#include <wayland-egl.h>

#include "platform/wayland/wayland_client.h"

struct EglWayland {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    wl_egl_window* window = nullptr;
    EGLSurface surface = EGL_NO_SURFACE;
};

// Current on `surface` at that size; false, with *failure said, when EGL
// offers no desktop OpenGL there. What was made is left for StopEglWayland.
bool StartEglWayland(EglWayland& egl, wl_display* display, wl_surface* surface, int width,
                     int height, WaylandFailure* failure);
void ResizeEglWayland(EglWayland& egl, int width, int height);
// Commits the frame drawn; it never waits, since the loop waits for the
// compositor's frame callback itself.
bool SwapEglWayland(EglWayland& egl);
void StopEglWayland(EglWayland& egl);
