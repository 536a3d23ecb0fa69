#include "platform/x11/glx_pixel_format.h"

#include "platform/x11/device_context.h"

// After the Win32 names: GL's header leaves an APIENTRY that is defined alone.
#include <GL/glx.h>

#include <vector>

namespace {
struct ConfigList {
    GLXFBConfig* configs = nullptr;
    int count = 0;
    ConfigList(Display* display, const int* attributes)
    {
        configs = attributes != nullptr ? glXChooseFBConfig(display, DefaultScreen(display), attributes, &count)
                                        : glXGetFBConfigs(display, DefaultScreen(display), &count);
        if (configs == nullptr) count = 0;
    }
    ~ConfigList()
    {
        if (configs != nullptr) XFree(configs);
    }
    ConfigList(const ConfigList&) = delete;
    ConfigList& operator=(const ConfigList&) = delete;
};

int Attribute(Display* display, GLXFBConfig config, int attribute)
{
    int value = 0;
    glXGetFBConfigAttrib(display, config, attribute, &value);
    return value;
}

VisualID VisualOf(Display* display, GLXFBConfig config)
{
    return VisualID(Attribute(display, config, GLX_VISUAL_ID));
}

// Position of a configuration among all of the screen's, as a format number.
int FormatNumber(Display* display, GLXFBConfig config)
{
    const ConfigList all(display, nullptr);
    const int id = Attribute(display, config, GLX_FBCONFIG_ID);
    for (int i = 0; i < all.count; ++i) {
        if (Attribute(display, all.configs[i], GLX_FBCONFIG_ID) == id) return i + 1;
    }
    return 0;
}

std::vector<int> RequestFor(const PIXELFORMATDESCRIPTOR& descriptor)
{
    const int channel_bits = descriptor.cColorBits / 3;
    std::vector<int> request = {GLX_X_RENDERABLE, True, GLX_X_VISUAL_TYPE, GLX_TRUE_COLOR,
                                GLX_RED_SIZE, channel_bits, GLX_GREEN_SIZE, channel_bits,
                                GLX_BLUE_SIZE, channel_bits};
    if (descriptor.dwFlags & PFD_DRAW_TO_WINDOW) request.insert(request.end(), {GLX_DRAWABLE_TYPE, GLX_WINDOW_BIT});
    request.insert(request.end(), {GLX_DOUBLEBUFFER, (descriptor.dwFlags & PFD_DOUBLEBUFFER) ? True : False});
    request.insert(request.end(), {GLX_RENDER_TYPE, descriptor.iPixelType == PFD_TYPE_RGBA ? GLX_RGBA_BIT
                                                                                          : GLX_COLOR_INDEX_BIT});
    // Any depth buffer will do; GLX offers the deepest first.
    if (descriptor.cDepthBits > 0) request.insert(request.end(), {GLX_DEPTH_SIZE, 1});
    request.push_back(None);
    return request;
}

PIXELFORMATDESCRIPTOR SaverRequest()
{
    PIXELFORMATDESCRIPTOR descriptor = {};
    descriptor.nSize = sizeof descriptor;
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = 24;
    descriptor.cDepthBits = 24;
    return descriptor;
}

// The first of the requested configurations that suits the window: of its
// visual when it has one, else at the screen's default depth.
GLXFBConfig Pick(Display* display, const ConfigList& candidates, VisualID window_visual)
{
    const int default_depth = DefaultDepth(display, DefaultScreen(display));
    for (int i = 0; i < candidates.count; ++i) {
        const VisualID visual = VisualOf(display, candidates.configs[i]);
        if (visual == 0) continue;
        if (window_visual != 0) {
            if (visual == window_visual) return candidates.configs[i];
            continue;
        }
        XVisualInfo* info = glXGetVisualFromFBConfig(display, candidates.configs[i]);
        const bool fits = info != nullptr && info->depth == default_depth;
        if (info != nullptr) XFree(info);
        if (fits) return candidates.configs[i];
    }
    return nullptr;
}
}  // namespace

bool PreferredWindowVisual(Display* display, XVisualInfo* visual)
{
    static bool looked = false;
    static XVisualInfo found = {};
    if (!looked) {
        looked = true;
        const std::vector<int> request = RequestFor(SaverRequest());
        const ConfigList candidates(display, request.data());
        if (GLXFBConfig config = Pick(display, candidates, 0)) {
            XVisualInfo* info = glXGetVisualFromFBConfig(display, config);
            if (info != nullptr) {
                found = *info;
                XFree(info);
            }
        }
    }
    *visual = found;
    return found.visual != nullptr;
}

int WINAPI X11ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor)
{
    X11DeviceContext* context = FromHdc(dc);
    if (context == nullptr || context->display == nullptr || descriptor == nullptr) return 0;
    const std::vector<int> request = RequestFor(*descriptor);
    const ConfigList candidates(context->display, request.data());
    const GLXFBConfig config = Pick(context->display, candidates, context->visual);
    return config != nullptr ? FormatNumber(context->display, config) : 0;
}

BOOL WINAPI X11SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*)
{
    X11DeviceContext* context = FromHdc(dc);
    if (context == nullptr || context->display == nullptr || context->visual == 0) return FALSE;
    // As on Windows, a window's pixel format is set once for its life.
    if (context->pixel_format != 0) return context->pixel_format == format;
    const ConfigList all(context->display, nullptr);
    if (format < 1 || format > all.count) return FALSE;
    if (VisualOf(context->display, all.configs[format - 1]) != context->visual) return FALSE;
    context->pixel_format = format;
    return TRUE;
}

int WINAPI X11DescribePixelFormat(HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR* descriptor)
{
    X11DeviceContext* context = FromHdc(dc);
    if (context == nullptr || context->display == nullptr) return 0;
    Display* display = context->display;
    const ConfigList all(display, nullptr);
    if (descriptor == nullptr) return all.count;
    if (format < 1 || format > all.count || size < sizeof(PIXELFORMATDESCRIPTOR)) return 0;
    const GLXFBConfig config = all.configs[format - 1];
    PIXELFORMATDESCRIPTOR described = {};
    described.nSize = sizeof described;
    described.nVersion = 1;
    described.dwFlags = PFD_SUPPORT_OPENGL;
    if (Attribute(display, config, GLX_DRAWABLE_TYPE) & GLX_WINDOW_BIT) described.dwFlags |= PFD_DRAW_TO_WINDOW;
    if (Attribute(display, config, GLX_DOUBLEBUFFER)) described.dwFlags |= PFD_DOUBLEBUFFER;
    described.iPixelType = (Attribute(display, config, GLX_RENDER_TYPE) & GLX_RGBA_BIT) ? PFD_TYPE_RGBA : 1;
    described.cRedBits = BYTE(Attribute(display, config, GLX_RED_SIZE));
    described.cGreenBits = BYTE(Attribute(display, config, GLX_GREEN_SIZE));
    described.cBlueBits = BYTE(Attribute(display, config, GLX_BLUE_SIZE));
    described.cAlphaBits = BYTE(Attribute(display, config, GLX_ALPHA_SIZE));
    described.cColorBits = BYTE(described.cRedBits + described.cGreenBits + described.cBlueBits);
    described.cDepthBits = BYTE(Attribute(display, config, GLX_DEPTH_SIZE));
    described.cStencilBits = BYTE(Attribute(display, config, GLX_STENCIL_SIZE));
    described.cAuxBuffers = BYTE(Attribute(display, config, GLX_AUX_BUFFERS));
    described.iLayerType = PFD_MAIN_PLANE;
    *descriptor = described;
    return all.count;
}
