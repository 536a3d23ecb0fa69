#include "glx_pbuffer.h"

#include <X11/Xlib.h>

GLXFBConfig ChoosePbufferConfig(Display* display)
{
    // clang-format off
    const int attributes[] = {
        GLX_DRAWABLE_TYPE, GLX_PBUFFER_BIT,
        GLX_RENDER_TYPE, GLX_RGBA_BIT,
        GLX_RED_SIZE, 8,
        GLX_GREEN_SIZE, 8,
        GLX_BLUE_SIZE, 8,
        GLX_DEPTH_SIZE, 24,
        GLX_DOUBLEBUFFER, True,
        None,
    };
    // clang-format on
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(display, DefaultScreen(display), attributes, &count);
    // The list is ours to free; the configurations in it belong to the display.
    const GLXFBConfig first = configs != nullptr && count > 0 ? configs[0] : nullptr;
    if (configs != nullptr) XFree(configs);
    return first;
}

GLXPbuffer CreatePbuffer(Display* display, GLXFBConfig config, int width, int height)
{
    const int size[] = {GLX_PBUFFER_WIDTH, width, GLX_PBUFFER_HEIGHT, height, None};
    return glXCreatePbuffer(display, config, size);
}
