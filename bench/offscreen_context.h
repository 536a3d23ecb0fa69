// One OpenGL context from Mesa on the X display of LUMENFALL_TEST_STATE (or
// $DISPLAY), with one GLX pbuffer per screen size: the same context draws
// into whichever is current, so that every figure comes from one context
// and each size clears and draws a whole buffer of its own.
#pragma once

#include "platform/x11/device_context.h"

// After the Win32 names: GL's header leaves an APIENTRY that is defined alone.
#include <GL/glx.h>

#include <string>
#include <vector>

class OffscreenContext {
public:
    // sizes: width, height pairs.
    explicit OffscreenContext(const std::vector<std::pair<int, int>>& sizes);
    ~OffscreenContext();
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    bool ok() const { return context_ != nullptr; }
    // Makes the buffer of that size current; false if there is none.
    bool Use(int width, int height);
    HDC hdc() { return ToHdc(&dc_); }
    const std::string& display_name() const { return display_name_; }

private:
    struct Buffer {
        int width, height;
        GLXPbuffer pbuffer;
    };
    std::string display_name_;
    Display* display_ = nullptr;
    GLXContext context_ = nullptr;
    std::vector<Buffer> buffers_;
    X11DeviceContext dc_;
};
