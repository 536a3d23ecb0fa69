#include "offscreen_context.h"

#include <cstdlib>
#include <fstream>

#include "glx_pbuffer.h"

namespace {
std::string DisplayName()
{
    std::string name;
    if (const char* state = std::getenv("LUMENFALL_TEST_STATE")) {
        std::ifstream file(std::string(state) + "/display");
        std::getline(file, name);
    } else if (const char* display = std::getenv("DISPLAY")) {
        name = display;
    }
    return name;
}
}  // namespace

OffscreenContext::OffscreenContext(const std::vector<std::pair<int, int>>& sizes)
    : display_name_(DisplayName())
{
    display_ = XOpenDisplay(display_name_.c_str());
    if (display_ == nullptr) return;
    const GLXFBConfig config = ChoosePbufferConfig(display_);
    if (config == nullptr) return;
    for (const auto& [width, height] : sizes)
        buffers_.push_back({width, height, CreatePbuffer(display_, config, width, height)});
    context_ = glXCreateNewContext(display_, config, GLX_RGBA_TYPE, nullptr, True);
    dc_.display = display_;
    if (context_ != nullptr && !Use(sizes.front().first, sizes.front().second)) {
        glXDestroyContext(display_, context_);
        context_ = nullptr;
    }
}

bool OffscreenContext::Use(int width, int height)
{
    for (const Buffer& buffer : buffers_) {
        if (buffer.width != width || buffer.height != height || buffer.pbuffer == 0) continue;
        if (!glXMakeContextCurrent(display_, buffer.pbuffer, buffer.pbuffer, context_))
            return false;
        dc_.drawable = buffer.pbuffer;
        return true;
    }
    return false;
}

OffscreenContext::~OffscreenContext()
{
    if (display_ == nullptr) return;
    glXMakeContextCurrent(display_, None, None, nullptr);
    if (context_ != nullptr) glXDestroyContext(display_, context_);
    for (const Buffer& buffer : buffers_)
        if (buffer.pbuffer != 0) glXDestroyPbuffer(display_, buffer.pbuffer);
    XCloseDisplay(display_);
}
