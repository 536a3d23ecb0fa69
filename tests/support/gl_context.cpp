#include "support/gl_context.h"

#include <cstdlib>
#include <fstream>
#include <string>

const char* TestDisplayName()
{
    static std::string name;
    const char* state = std::getenv("LUMENFALL_TEST_STATE");
    if (name.empty() && state != nullptr)
        std::getline(std::ifstream(std::string(state) + "/display"), name);
    return name.c_str();
}

// One connection for the whole program: GLX keeps per-connection state, and a
// connection reopened at a recycled address can meet stale state.
GlContext::GlContext(int width, int height, int pixels_per_inch_y) : width_(width), height_(height)
{
    static Display* const shared = XOpenDisplay(TestDisplayName());
    if (shared == nullptr) return;
    display_ = shared;
    // The pixels are read back from the back buffer, and the flyers need depth.
    // clang-format off
    const int attributes[] = {
        GLX_DRAWABLE_TYPE, GLX_PBUFFER_BIT,
        GLX_RED_SIZE, 8,
        GLX_GREEN_SIZE, 8,
        GLX_BLUE_SIZE, 8,
        GLX_DEPTH_SIZE, 24,
        GLX_DOUBLEBUFFER, True,
        None,
    };
    // clang-format on
    const int size[] = {GLX_PBUFFER_WIDTH, width, GLX_PBUFFER_HEIGHT, height, None};
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(display_, DefaultScreen(display_), attributes, &count);
    if (count == 0) return;
    pbuffer_ = glXCreatePbuffer(display_, configs[0], size);
    context_ = glXCreateNewContext(display_, configs[0], GLX_RGBA_TYPE, nullptr, True);
    XFree(configs);
    if (context_ && !glXMakeContextCurrent(display_, pbuffer_, pbuffer_, context_))
        context_ = nullptr;
    dc_ = {.display = display_, .drawable = pbuffer_, .pixels_per_inch_y = pixels_per_inch_y};
}

GlContext::~GlContext()
{
    if (display_ == nullptr) return;
    glXMakeContextCurrent(display_, None, None, nullptr);
    if (context_ != nullptr) glXDestroyContext(display_, context_);
    if (pbuffer_ != 0) glXDestroyPbuffer(display_, pbuffer_);
}

std::vector<unsigned char> GlContext::ReadPixels() const
{
    std::vector<unsigned char> pixels(size_t(width_) * height_ * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
