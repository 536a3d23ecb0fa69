// OpenGL on the X server: the framebuffer configuration the saver draws
// with, its GLX context, and swap control.
#pragma once

#include "platform/gl.h"

// After the shared headers: GL's header leaves an APIENTRY that is defined alone.
#include <GL/glx.h>

// Double-buffered true colour with 8 bits a channel and a depth buffer; of
// the visual that `required` names when it is not 0, else at the screen's
// default depth where there is such a configuration. Null when there is
// none; otherwise *visual is set, for the caller to free.
GLXFBConfig ChooseFBConfigGLX(Display* display, VisualID required, XVisualInfo** visual);

// The call that failed, and what that means for the saver.
struct GlxFailure {
    const char* call = nullptr;
    const char* detail = nullptr;
};

// A context of `config`; null, with *failure said, when the server gives
// none.
GLXContext CreateContextGLX(Display* display, GLXFBConfig config, GlxFailure* failure);
// Makes `context` current on `drawable`; false, with *failure said, when it
// cannot draw there.
bool MakeCurrentGLX(Display* display, GLXDrawable drawable, GLXContext context,
                    GlxFailure* failure);

// Interval 1 keeps frames in step with the display, 0 lets the driver hold
// none back, where it offers swap control at all.
void SetSwapIntervalGLX(Display* display, GLXDrawable drawable, int interval);

// The driver's largest viewport, of the current context.
void LargestViewportGL(int* width, int* height);

// Lets go of the context, and destroys it unless `keep` is set.
void ReleaseContextGLX(Display* display, GLXContext context, bool keep);
