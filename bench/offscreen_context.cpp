#include "offscreen_context.h"

#include <cstdlib>
#include <fstream>

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
    GLXFBConfig* configs = glXChooseFBConfig(display_, DefaultScreen(display_), attributes, &count);
    if (configs == nullptr || count == 0) return;
    for (const auto& size : sizes) {
        const int pbuffer_attributes[] = {GLX_PBUFFER_WIDTH, size.first, GLX_PBUFFER_HEIGHT,
                                          size.second, None};
        buffers_.push_back(
            {size.first, size.second, glXCreatePbuffer(display_, configs[0], pbuffer_attributes)});
    }
    context_ = glXCreateNewContext(display_, configs[0], GLX_RGBA_TYPE, nullptr, True);
    XFree(configs);
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
