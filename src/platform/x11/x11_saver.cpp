// The X11 host, top to bottom: window -> GLX context -> frames -> teardown.
// The scene's life is the saver's run time; this file feeds it a surface, a
// pace and the X events that end a run, and ends on the stop signals and on
// the host window's end.
#include "platform/x11/x11_saver.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "framework/close_rule.h"
#include "platform/linux/frame_pace.h"
#include "platform/linux/monotonic_clock.h"
#include "platform/linux/stop_signals.h"
#include "platform/linux/wait_for_connection.h"
#include "platform/x11/device_context.h"
#include "platform/x11/glx_context.h"
#include "platform/x11/gtk_dialogs.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_input.h"
#include "platform/x11/x11_window.h"
#include "render.h"
#include "saver_runtime.h"
#include "utility/diagnostics.h"

namespace {
struct Saver {
    const CommandOptions* options = nullptr;
    X11Surface x;
    X11InputContext input;
    GLXContext context = nullptr;
    X11DeviceContext device;
    int max_width = 0, max_height = 0;  // the driver's largest viewport
    bool ended = false;
    bool server_gone = false;  // the X server closed the connection

    bool FullScreen() const { return options->target == CommandOptions::Target::OwnWindow; }
    // A run in a window of our own was started by hand, not by a host.
    bool StartedByHand() const
    {
        return FullScreen() || options->target == CommandOptions::Target::TopLevel;
    }
};

int Fail(const Saver& saver, const char* call, const std::string& detail)
{
    std::fprintf(stderr, "lumenfall: %s failed: %s\n", call, detail.c_str());
    // A run started by hand may also say it on screen; one inside a host
    // never opens a box there.
    if (saver.StartedByHand()) {
        char text[200];
        FormatFailure(text, sizeof text, call);
        ShowErrorBox(text);
    }
    return 1;
}

// A host that went away while we started up is no failure: it no longer
// wants a saver.
int FailUnlessHostVanished(Saver& saver, const char* call, const std::string& detail)
{
    return HostVanishedX11(saver.x) ? 0 : Fail(saver, call, detail);
}

// Drawn to the size of the window beneath (the root or the host), within
// the driver's largest viewport.
void FollowSize(Saver& saver)
{
    XWindowAttributes attributes = {};
    {
        X11ErrorTrap trap(saver.x.display);
        if (!XGetWindowAttributes(saver.x.display, saver.x.SizeSource(), &attributes) ||
            trap.Failed())
            return;
    }
    const auto clamp = [](int size, int largest) {
        return std::max(1, largest > 0 ? std::min(size, largest) : size);
    };
    const int width = clamp(attributes.width, saver.max_width);
    const int height = clamp(attributes.height, saver.max_height);
    if (saver.x.window != 0 && saver.x.window != saver.x.SizeSource())
        XResizeWindow(saver.x.display, saver.x.window, unsigned(width), unsigned(height));
    CRender::Resize(width, height);
}

void ApplyInput(Saver& saver, const SaverEvent& input)
{
    switch (saver.options->target) {
    case CommandOptions::Target::OwnWindow: {
        const CloseDecision decision = DecideClose(input, saver.x.pointer);
        saver.x.pointer = decision.reference;
        if (decision.close) saver.ended = true;
        break;
    }
    case CommandOptions::Target::TopLevel:
        if (EndsWindowedRun(input)) saver.ended = true;
        break;
    case CommandOptions::Target::HostWindow:
    case CommandOptions::Target::RootWindow:
        break;  // input never ends a drawing inside a host
    }
}

void HandleEvent(Saver& saver, const XEvent& event)
{
    switch (event.type) {
    case ConfigureNotify:
        if (event.xconfigure.window == saver.x.SizeSource()) FollowSize(saver);
        return;
    case DestroyNotify:
        // Our window goes only with its host: we never destroy it while running.
        if (event.xdestroywindow.window == saver.x.window ||
            event.xdestroywindow.window == saver.x.host) {
            saver.x.gone = true;
            saver.ended = true;
        }
        return;
    default:
        break;
    }
    if (const auto input = SaverEventFromX11(event, saver.input)) ApplyInput(saver, *input);
}

void HandlePendingEvents(Saver& saver)
{
    while (!saver.ended && XPending(saver.x.display) > 0) {
        XEvent event;
        XNextEvent(saver.x.display, &event);
        HandleEvent(saver, event);
        if (saver.ended)
            Trace("Ended by X event %d on window 0x%lx\n", event.type, event.xany.window);
    }
}

void RunFrames(Saver& saver, const sigset_t& wait_mask)
{
    FramePace pace(saver.options->max_fps);
    const int connection = ConnectionNumber(saver.x.display);
    while (true) {
        HandlePendingEvents(saver);
        if (saver.ended || StopRequested()) return;
        SaverFrame(saver.options->show_fps);
        glXSwapBuffers(saver.x.display, saver.x.drawable);
        pace.FrameDone(MonotonicNanoseconds());
        HandlePendingEvents(saver);
        // Wait for the next frame's time, waking early for X events and for
        // the stop signals, which are let in only here.
        while (!saver.ended && !StopRequested()) {
            const timespec timeout = pace.TimeToNextFrame(MonotonicNanoseconds());
            const ConnectionState state = WaitForConnection(connection, &timeout, wait_mask);
            saver.server_gone = state == ConnectionState::Closed;
            if (saver.server_gone) return;
            if (state == ConnectionState::Ready) HandlePendingEvents(saver);
            if (!pace.Waiting(MonotonicNanoseconds())) break;
        }
    }
}

// False with *exit_code set when there is no context to draw with.
bool StartGl(Saver& saver, GLXFBConfig config, int* exit_code)
{
    GlxFailure failure;
    saver.context = CreateContextGLX(saver.x.display, config, &failure);
    if (saver.context == nullptr ||
        !MakeCurrentGLX(saver.x.display, saver.x.drawable, saver.context, &failure)) {
        *exit_code = FailUnlessHostVanished(saver, failure.call, failure.detail);
        return false;
    }
    LargestViewportGL(&saver.max_width, &saver.max_height);
    // Under a cap, frames keep in step with the display where the driver
    // offers swap control, and the wait after each frame keeps them under the
    // cap everywhere; without one, the driver must not hold them back either.
    SetSwapIntervalGLX(saver.x.display, saver.x.drawable, saver.options->max_fps > 0 ? 1 : 0);
    return true;
}

void Release(Saver& saver)
{
    if (saver.context != nullptr) {
        // When a host took our window with it, Mesa's software renderer
        // corrupts its heap if the context is destroyed now; the process ends
        // at once anyway and takes the context with it.
        const bool keep = saver.x.gone || (saver.x.drawable != saver.x.root &&
                                           !WindowExists(saver.x.display, saver.x.drawable));
        ReleaseContextGLX(saver.x.display, saver.context, keep);
        saver.context = nullptr;
    }
    DestroySurfaceX11(saver.x);
}

// False with *exit_code set when there is nothing to draw into.
bool MakeSurface(Saver& saver, GLXFBConfig* config, int* exit_code)
{
    Display* display = saver.x.display;
    VisualID required = 0;
    if (saver.options->target == CommandOptions::Target::RootWindow)
        required = XVisualIDFromVisual(DefaultVisual(display, DefaultScreen(display)));
    XVisualInfo* visual = nullptr;
    *config = ChooseFBConfigGLX(display, required, &visual);
    if (*config == nullptr) {
        *exit_code = Fail(saver, "glXChooseFBConfig",
                          required != 0 ? "the root window's visual has no double-buffered OpenGL "
                                          "configuration with a depth buffer"
                                        : "the X server has no double-buffered true-colour OpenGL "
                                          "configuration with a depth buffer");
        return false;
    }
    X11ErrorTrap trap(display);
    CreateSurfaceX11(saver.x, *saver.options, visual);
    XFree(visual);
    saver.input = InputContextX11(display, saver.x.keyboard_grabbed);
    if (!trap.Failed() && saver.x.drawable != 0) return true;
    *exit_code = FailUnlessHostVanished(saver, "XCreateWindow", "the X server refused the window");
    return false;
}
}  // namespace

int RunX11Saver(Display* display, const CommandOptions& options)
{
    Saver saver;
    saver.options = &options;
    saver.x.display = display;
    saver.x.root = DefaultRootWindow(display);
    if (options.target == CommandOptions::Target::HostWindow) saver.x.host = Window(options.window);
    if (options.target == CommandOptions::Target::RootWindow) saver.x.host = saver.x.root;
    const sigset_t wait_mask = BlockStopSignals();

    if (saver.FullScreen() && FullScreenSaverRunsX11(display, saver.x.root)) return 0;
    int error_base = 0, event_base = 0;
    if (!glXQueryExtension(display, &error_base, &event_base))
        return Fail(saver, "glXQueryExtension",
                    std::string("the X server ") + DisplayString(display) +
                        " offers no OpenGL (GLX)");
    if (!WatchSizeSourceX11(saver.x)) {
        std::fprintf(stderr, "lumenfall: window 0x%lx does not exist (any more)\n", saver.x.host);
        return 0;
    }

    GLXFBConfig config = nullptr;
    int exit_code = 0;
    if (!MakeSurface(saver, &config, &exit_code) || !StartGl(saver, config, &exit_code)) {
        Release(saver);
        return exit_code;
    }
    SaverSeed();
    saver.device.display = display;
    saver.device.drawable = saver.x.drawable;
    SaverStart(ToHdc(&saver.device), [&saver] { FollowSize(saver); });
    RunFrames(saver, wait_mask);
    if (saver.server_gone) {
        // Nothing can be released on a server that is gone; the process
        // ends now and takes its side of everything with it.
        std::fprintf(stderr, "lumenfall: the X server %s closed the connection\n",
                     DisplayString(display));
        return 1;
    }
    SaverStop();
    Release(saver);
    return 0;
}
