#include "support/gl_context.h"

#include <cstdlib>
#include <fstream>
#include <string>

#include "glx_pbuffer.h"

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
    const GLXFBConfig config = ChoosePbufferConfig(display_);
    if (config == nullptr) return;
    pbuffer_ = CreatePbuffer(display_, config, width, height);
    context_ = glXCreateNewContext(display_, config, GLX_RGBA_TYPE, nullptr, True);
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
