// The offscreen drawable that the tests, the still picture and the benchmarks
// draw the scene into: a GLX pbuffer of 8-bit RGB with the depth buffer that
// the flyers need, double-buffered because the pixels are read back from the
// back buffer.
#pragma once

#include <GL/glx.h>

// The first such configuration of the display's default screen; null when it
// has none.
GLXFBConfig ChoosePbufferConfig(Display* display);

// A pbuffer of that configuration and size; 0 when it cannot be made.
GLXPbuffer CreatePbuffer(Display* display, GLXFBConfig config, int width, int height);
