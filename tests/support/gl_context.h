// A real OpenGL context from Mesa on the test run's private X display: a
// GLX pbuffer of the given size, current for the lifetime of the object,
// with the device context that the scene's HDC stands for.
#pragma once

#include "platform/x11/device_context.h"

// After the Win32 names: GL's header leaves an APIENTRY that is defined alone.
#include <GL/glx.h>

#include <vector>

class GlContext {
public:
    GlContext(int width, int height, int pixels_per_inch_y = 96);
    ~GlContext();
    bool ok() const { return context_ != nullptr; }
    HDC hdc() { return ToHdc(&dc_); }
    std::vector<unsigned char> ReadPixels() const;  // RGB of the back buffer, bottom row first

private:
    int width_, height_;
    Display* display_ = nullptr;
    GLXPbuffer pbuffer_ = 0;
    GLXContext context_ = nullptr;
    X11DeviceContext dc_;
};

// The private display that the test fixture started ("" when there is none).
const char* TestDisplayName();
