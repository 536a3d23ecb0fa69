// Renders a still of the scene with the program's own drawing code: several
// flyers at fixed places and angles, drawn by OpenGL into an offscreen
// buffer on an X display, written as a binary PPM.
//
//   render_scene DISPLAY OUT.ppm [WIDTH HEIGHT]
#include "flyer.h"
#include "platform/x11/device_context.h"
#include "render.h"

// After the Win32 names: GL's header leaves an APIENTRY that is defined alone.
#include <GL/glx.h>

#include "glx_pbuffer.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
struct Placement {
    double x, y, z, angle;
};
// Near and far, turned every way, with the nearest one large in the middle.
const Placement PLACEMENTS[] = {
    {0.15, -0.05, -1.9, 18.0},  {-1.7, 1.0, -4.0, 140.0}, {1.9, 1.15, -5.0, -35.0},
    {-1.3, -1.05, -3.2, -70.0}, {2.1, -1.1, -4.2, 200.0}, {-3.6, -0.2, -7.5, 95.0},
    {0.4, 1.9, -6.5, 250.0},    {3.6, 0.2, -8.0, 10.0},   {-0.9, -2.4, -6.0, 300.0},
    {-4.2, 2.6, -9.5, 45.0},
};

int Fail(const char* what)
{
    std::fprintf(stderr, "render_scene: %s\n", what);
    return 1;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 5) return Fail("usage: render_scene DISPLAY OUT.ppm [WIDTH HEIGHT]");
    const int width = argc == 5 ? std::atoi(argv[3]) : 1280;
    const int height = argc == 5 ? std::atoi(argv[4]) : 960;
    Display* display = XOpenDisplay(argv[1]);
    if (display == nullptr) return Fail("cannot open the display");
    const GLXFBConfig config = ChoosePbufferConfig(display);
    if (config == nullptr) return Fail("no suitable GLX configuration");
    const GLXPbuffer pbuffer = CreatePbuffer(display, config, width, height);
    const GLXContext context = glXCreateNewContext(display, config, GLX_RGBA_TYPE, nullptr, True);
    if (context == nullptr || !glXMakeContextCurrent(display, pbuffer, pbuffer, context))
        return Fail("cannot make a GLX context current");

    X11DeviceContext dc;
    dc.display = display;
    dc.drawable = pbuffer;
    CRender::Init(ToHdc(&dc));
    CRender::Resize(width, height);
    int slot = 0;
    for (const Placement& p : PLACEMENTS) {
        CFlyer* flyer = new CFlyer;
        flyer->position.Set(p.x, p.y, p.z);
        flyer->angle = p.angle;
        FlyerSlots[slot++] = flyer;
    }
    CRender::Draw();
    glFinish();

    std::vector<unsigned char> pixels(size_t(width) * height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    CRender::Close();

    FILE* out = std::fopen(argv[2], "wb");
    if (out == nullptr) return Fail("cannot write the picture");
    std::fprintf(out, "P6\n%d %d\n255\n", width, height);
    // OpenGL's rows run bottom up, the picture's top down.
    for (int y = height - 1; y >= 0; --y)
        std::fwrite(&pixels[size_t(y) * width * 3], 1, size_t(width) * 3, out);
    std::fclose(out);

    glXMakeContextCurrent(display, None, None, nullptr);
    glXDestroyContext(display, context);
    glXDestroyPbuffer(display, pbuffer);
    XCloseDisplay(display);
    return 0;
}
