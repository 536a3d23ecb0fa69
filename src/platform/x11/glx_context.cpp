#include "platform/x11/glx_context.h"

#include <string>

namespace {
bool HasExtension(Display* display, const char* name)
{
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    const std::string list = extensions != nullptr ? extensions : "";
    return (" " + list + " ").find(std::string(" ") + name + " ") != std::string::npos;
}

template <typename Routine>
Routine LookUpGLX(const char* name)
{
    return reinterpret_cast<Routine>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}
}  // namespace

GLXFBConfig ChooseFBConfigGLX(Display* display, VisualID required, XVisualInfo** visual)
{
    static const int request[] = {GLX_X_RENDERABLE,
                                  True,
                                  GLX_DRAWABLE_TYPE,
                                  GLX_WINDOW_BIT,
                                  GLX_RENDER_TYPE,
                                  GLX_RGBA_BIT,
                                  GLX_X_VISUAL_TYPE,
                                  GLX_TRUE_COLOR,
                                  GLX_RED_SIZE,
                                  8,
                                  GLX_GREEN_SIZE,
                                  8,
                                  GLX_BLUE_SIZE,
                                  8,
                                  GLX_DOUBLEBUFFER,
                                  True,
                                  GLX_DEPTH_SIZE,
                                  1,
                                  None};
    const int screen = DefaultScreen(display);
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(display, screen, request, &count);
    GLXFBConfig chosen = nullptr;
    // A second pass takes any depth when the default one has no configuration.
    for (int pass = 0; pass < 2 && chosen == nullptr; ++pass) {
        for (int i = 0; i < count && chosen == nullptr; ++i) {
            XVisualInfo* info = glXGetVisualFromFBConfig(display, configs[i]);
            if (info == nullptr) continue;
            const bool fits = required != 0
                                  ? info->visualid == required
                                  : pass == 1 || info->depth == DefaultDepth(display, screen);
            if (fits) {
                chosen = configs[i];
                *visual = info;
            } else {
                XFree(info);
            }
        }
        if (required != 0) break;
    }
    if (configs != nullptr) XFree(configs);
    return chosen;
}

GLXContext CreateContextGLX(Display* display, GLXFBConfig config, GlxFailure* failure)
{
    const GLXContext context = glXCreateNewContext(display, config, GLX_RGBA_TYPE, nullptr, True);
    if (context == nullptr)
        *failure = {"glXCreateNewContext", "the X server gave no OpenGL context"};
    return context;
}

bool MakeCurrentGLX(Display* display, GLXDrawable drawable, GLXContext context, GlxFailure* failure)
{
    if (glXMakeContextCurrent(display, drawable, drawable, context)) return true;
    *failure = {"glXMakeContextCurrent", "the OpenGL context cannot draw into the window"};
    return false;
}

void SetSwapIntervalGLX(Display* display, GLXDrawable drawable, int interval)
{
    if (HasExtension(display, "GLX_EXT_swap_control")) {
        const auto set = LookUpGLX<void (*)(Display*, GLXDrawable, int)>("glXSwapIntervalEXT");
        if (set != nullptr) set(display, drawable, interval);
    } else if (HasExtension(display, "GLX_MESA_swap_control")) {
        const auto set = LookUpGLX<int (*)(unsigned)>("glXSwapIntervalMESA");
        if (set != nullptr) set(unsigned(interval));
    }
}

void LargestViewportGL(int* width, int* height)
{
    GLint largest[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, largest);
    *width = largest[0];
    *height = largest[1];
}

void ReleaseContextGLX(Display* display, GLXContext context, bool keep)
{
    glXMakeContextCurrent(display, None, None, nullptr);
    if (!keep) glXDestroyContext(display, context);
}
