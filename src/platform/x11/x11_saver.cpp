// One flow, top to bottom: window -> GLX context -> frames -> teardown.
// The scene, its timer and its population controller are the Windows
// program's own; this file only feeds them a window, a clock's pace and the
// X events that end a full-screen run.
#include "platform/x11/x11_saver.h"

#include <poll.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>

#include "framework/mouse_travel.h"
#include "platform/x11/device_context.h"
#include "platform/x11/frame_pace.h"
#include "platform/x11/gtk_dialogs.h"
#include "platform/x11/x11_display.h"
#include "render.h"
#include "utility/diagnostics.h"
#include "utility/random.h"
#include "utility/timer.h"

// After the shared headers: GL's header leaves an APIENTRY that is defined alone.
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace {
// How a second full-screen saver finds the first: the names that Windows
// gives a screen saver's window.
const char FULL_SCREEN_TITLE[] = "Screen Saver";
const char FULL_SCREEN_CLASS[] = "WindowsScreenSaverClass";
const char EMBEDDED_TITLE[] = "Preview";
constexpr int GRAB_ATTEMPTS = 50;
constexpr long GRAB_RETRY_NS = 20'000'000;

volatile sig_atomic_t StopRequested = 0;
void RequestStop(int) { StopRequested = 1; }

// The signals that end the saver stay blocked except while it waits, so that
// one arriving at any other moment is taken at the next wait instead of
// interrupting X or GL halfway.
sigset_t BlockStopSignals()
{
    struct sigaction action = {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigset_t stop, unblocked;
    sigemptyset(&stop);
    for (int signal_number : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal_number, &action, nullptr);
        sigaddset(&stop, signal_number);
    }
    sigprocmask(SIG_BLOCK, &stop, &unblocked);
    for (int signal_number : {SIGTERM, SIGINT, SIGHUP}) sigdelset(&unblocked, signal_number);
    return unblocked;
}

struct Saver {
    Display* display = nullptr;
    const CommandOptions* options = nullptr;
    Window root = 0;
    Window host = 0;      // the window we draw inside, when a host names one
    Window window = 0;    // our own window, full screen or a child of the host
    Drawable drawable = 0;  // what GL draws into: our window, or the root itself
    Colormap colormap = 0;
    Cursor blank_cursor = 0;
    GLXContext context = nullptr;
    X11DeviceContext device;
    int max_width = 0, max_height = 0;  // the driver's largest viewport
    POINT cursor_reference = {0, 0};
    bool keyboard_grabbed = false;
    bool window_gone = false;  // taken away by its host or another client
    bool ended = false;

    bool FullScreen() const { return options->target == CommandOptions::Target::OwnWindow; }
    // The window whose size the drawing follows: the host's, else the screen's.
    Window SizeSource() const { return host != 0 ? host : root; }
};

int Fail(const Saver& saver, const std::string& call, const std::string& detail)
{
    std::fprintf(stderr, "lumenfall: %s failed: %s\n", call.c_str(), detail.c_str());
    // A run started by hand may also say it on screen; one inside a host
    // never opens a box there.
    if (saver.FullScreen()) {
        ShowErrorBox((call + " failed.").c_str());
    }
    return 1;
}

// A host that went away while we started up is no failure: it no longer
// wants a saver.
bool HostVanished(Saver& saver)
{
    if (saver.FullScreen() || saver.host == 0) return false;
    saver.window_gone = !WindowExists(saver.display, saver.host);
    return saver.window_gone;
}

bool AnotherFullScreenSaver(Display* display, Window root)
{
    X11ErrorTrap trap(display);
    Window unused_root, unused_parent, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, root, &unused_root, &unused_parent, &children, &count)) return false;
    bool found = false;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XClassHint hint = {};
        char* name = nullptr;
        // Any of them may vanish meanwhile; the trap keeps that harmless.
        if (XGetClassHint(display, children[i], &hint)) {
            found = hint.res_class != nullptr && std::string(hint.res_class) == FULL_SCREEN_CLASS &&
                    XFetchName(display, children[i], &name) && name != nullptr &&
                    std::string(name) == FULL_SCREEN_TITLE;
            if (name != nullptr) XFree(name);
            if (hint.res_name != nullptr) XFree(hint.res_name);
            if (hint.res_class != nullptr) XFree(hint.res_class);
        }
    }
    if (children != nullptr) XFree(children);
    trap.Failed();
    return found;
}

// Double-buffered true colour with 8 bits a channel and a depth buffer; the
// visual that `required` names when it is not 0, else one at the screen's
// default depth where there is one.
GLXFBConfig ChooseConfig(Display* display, VisualID required, XVisualInfo** visual)
{
    static const int request[] = {GLX_X_RENDERABLE, True, GLX_DRAWABLE_TYPE, GLX_WINDOW_BIT,
                                  GLX_RENDER_TYPE, GLX_RGBA_BIT, GLX_X_VISUAL_TYPE, GLX_TRUE_COLOR,
                                  GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8,
                                  GLX_DOUBLEBUFFER, True, GLX_DEPTH_SIZE, 1, None};
    const int screen = DefaultScreen(display);
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(display, screen, request, &count);
    GLXFBConfig chosen = nullptr;
    for (int pass = 0; pass < 2 && chosen == nullptr; ++pass) {
        for (int i = 0; i < count && chosen == nullptr; ++i) {
            XVisualInfo* info = glXGetVisualFromFBConfig(display, configs[i]);
            if (info == nullptr) continue;
            const bool fits = required != 0 ? info->visualid == required
                                            : pass == 1 || info->depth == DefaultDepth(display, screen);
            if (fits) {
                chosen = configs[i];
                *visual = info;
            } else {
                XFree(info);
            }
        }
        if (required != 0) break;
    }
    if (configs != nullptr) XFree(configs);
    return chosen;
}

void ClampToViewport(const Saver& saver, int* width, int* height)
{
    *width = std::max(1, saver.max_width > 0 ? std::min(*width, saver.max_width) : *width);
    *height = std::max(1, saver.max_height > 0 ? std::min(*height, saver.max_height) : *height);
}

void SetCommonProperties(Display* display, Window window, const char* title, const char* window_class)
{
    XStoreName(display, window, title);
    XClassHint hint = {const_cast<char*>("lumenfall"), const_cast<char*>(window_class)};
    XSetClassHint(display, window, &hint);
    const long pid = long(getpid());
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
}

Cursor BlankCursor(Display* display, Window window)
{
    static const char nothing[1] = {0};
    const Pixmap empty = XCreateBitmapFromData(display, window, nothing, 1, 1);
    XColor black = {};
    const Cursor cursor = XCreatePixmapCursor(display, empty, empty, &black, &black, 0, 0);
    XFreePixmap(display, empty);
    return cursor;
}

Window CreateWindowFor(Saver& saver, Window parent, int width, int height, XVisualInfo* visual, long events,
                       bool override_redirect)
{
    XSetWindowAttributes attributes = {};
    saver.colormap = XCreateColormap(saver.display, saver.root, visual->visual, AllocNone);
    attributes.colormap = saver.colormap;
    attributes.background_pixel = BlackPixel(saver.display, DefaultScreen(saver.display));
    attributes.border_pixel = 0;
    attributes.event_mask = events;
    attributes.override_redirect = override_redirect;
    return XCreateWindow(saver.display, parent, 0, 0, unsigned(width), unsigned(height), 0, visual->depth,
                         InputOutput, visual->visual,
                         CWColormap | CWBackPixel | CWBorderPixel | CWEventMask | CWOverrideRedirect, &attributes);
}

// A window manager may hold the keyboard or pointer for a moment after our
// window maps; without them, the focus rule below stands in for keys.
void GrabInput(Saver& saver)
{
    const timespec retry = {0, GRAB_RETRY_NS};
    bool keyboard = false, pointer = false;
    for (int attempt = 0; attempt < GRAB_ATTEMPTS && !(keyboard && pointer); ++attempt) {
        if (!keyboard)
            keyboard = XGrabKeyboard(saver.display, saver.window, False, GrabModeAsync, GrabModeAsync,
                                     CurrentTime) == GrabSuccess;
        if (!pointer)
            pointer = XGrabPointer(saver.display, saver.window, False,
                                   ButtonPressMask | PointerMotionMask, GrabModeAsync, GrabModeAsync, None,
                                   saver.blank_cursor, CurrentTime) == GrabSuccess;
        if (!(keyboard && pointer)) nanosleep(&retry, nullptr);
    }
    saver.keyboard_grabbed = keyboard;
    if (!keyboard || !pointer) std::fprintf(stderr, "lumenfall: another program holds the %s\n",
                                            keyboard ? "pointer" : "keyboard");
}

// Full screen: an override-redirect window over the whole root, on top,
// with the cursor hidden and the keyboard and pointer grabbed, so that every
// key and click reaches us. No window-manager hints: a manager leaves an
// override-redirect window alone, and some compositors trip over such hints
// on one.
void CreateFullScreenWindow(Saver& saver, XVisualInfo* visual)
{
    XWindowAttributes root = {};
    XGetWindowAttributes(saver.display, saver.root, &root);
    const long events = KeyPressMask | ButtonPressMask | PointerMotionMask | FocusChangeMask | StructureNotifyMask;
    saver.window = CreateWindowFor(saver, saver.root, root.width, root.height, visual, events, true);
    SetCommonProperties(saver.display, saver.window, FULL_SCREEN_TITLE, FULL_SCREEN_CLASS);
    saver.blank_cursor = BlankCursor(saver.display, saver.window);
    XDefineCursor(saver.display, saver.window, saver.blank_cursor);
    XMapRaised(saver.display, saver.window);
    XSync(saver.display, False);
    GrabInput(saver);
    XSetInputFocus(saver.display, saver.window, RevertToParent, CurrentTime);
    Window unused_root, unused_child;
    int x = 0, y = 0, unused;
    unsigned int unused_mask;
    if (XQueryPointer(saver.display, saver.root, &unused_root, &unused_child, &x, &y, &unused, &unused,
                      &unused_mask))
        saver.cursor_reference = {x, y};
    saver.drawable = saver.window;
}

// Inside a host: a child window of our own visual that follows the host's
// size, so that any host will do, whatever its visual.
void CreateEmbeddedWindow(Saver& saver, XVisualInfo* visual)
{
    saver.window = CreateWindowFor(saver, saver.host, 1, 1, visual, StructureNotifyMask, false);
    SetCommonProperties(saver.display, saver.window, EMBEDDED_TITLE, "Lumenfall");
    XMapWindow(saver.display, saver.window);
    saver.drawable = saver.window;
}

// Drawn to the size of the window beneath (the root or the host), within
// the driver's largest viewport.
void FollowSize(Saver& saver)
{
    XWindowAttributes attributes = {};
    {
        X11ErrorTrap trap(saver.display);
        if (!XGetWindowAttributes(saver.display, saver.SizeSource(), &attributes) || trap.Failed()) return;
    }
    int width = attributes.width, height = attributes.height;
    ClampToViewport(saver, &width, &height);
    if (saver.window != 0) XResizeWindow(saver.display, saver.window, unsigned(width), unsigned(height));
    CRender::Resize(width, height);
}

void SetSwapInterval(Saver& saver)
{
    // Under a cap, frames keep in step with the display where the driver
    // offers swap control, and the wait after each frame keeps them under the
    // cap everywhere; without one, the driver must not hold them back either.
    const int interval = saver.options->max_fps > 0 ? 1 : 0;
    const char* extensions = glXQueryExtensionsString(saver.display, DefaultScreen(saver.display));
    const std::string list = extensions != nullptr ? extensions : "";
    const auto has = [&list](const char* name) {
        return (" " + list + " ").find(std::string(" ") + name + " ") != std::string::npos;
    };
    if (has("GLX_EXT_swap_control")) {
        auto set = reinterpret_cast<void (*)(Display*, GLXDrawable, int)>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
        if (set != nullptr) set(saver.display, saver.drawable, interval);
    } else if (has("GLX_MESA_swap_control")) {
        auto set = reinterpret_cast<int (*)(unsigned)>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
        if (set != nullptr) set(unsigned(interval));
    }
}

// False with *exit_code set when there is no context to draw with.
bool StartGl(Saver& saver, GLXFBConfig config, int* exit_code)
{
    saver.context = glXCreateNewContext(saver.display, config, GLX_RGBA_TYPE, nullptr, True);
    if (saver.context == nullptr) {
        *exit_code = HostVanished(saver) ? 0
                                         : Fail(saver, "glXCreateNewContext", "the X server gave no OpenGL context");
        return false;
    }
    if (!glXMakeContextCurrent(saver.display, saver.drawable, saver.drawable, saver.context)) {
        *exit_code = HostVanished(saver) ? 0
                                         : Fail(saver, "glXMakeContextCurrent",
                                                "the OpenGL context cannot draw into the window");
        return false;
    }
    GLint largest[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, largest);
    saver.max_width = largest[0];
    saver.max_height = largest[1];
    SetSwapInterval(saver);
    return true;
}

// The frame rate in the lower left corner, in the scene's bitmap font.
void DrawFrameRate()
{
    if (BitmapFont.CharDisplayList == 0) return;
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%.1f fps", SampleFrameRate);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LIST_BIT | GL_TRANSFORM_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, ScreenWidth, 0, ScreenHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor3f(1.0f, 1.0f, 1.0f);
    glRasterPos2i(8, 8);
    glListBase(BitmapFont.CharDisplayList - 32);
    glCallLists(length, GL_UNSIGNED_BYTE, text);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
}

// While we hold the keyboard every key reaches us wherever the focus is, and
// window managers move the focus about as our window maps (Xwayland's does
// at once), so only a saver that could not take the keyboard treats the
// focus leaving it as the user turning to another program. Focus moving
// within our window, or produced by a grab, never counts.
bool LosesFocus(const Saver& saver, const XFocusChangeEvent& e)
{
    if (saver.keyboard_grabbed || e.mode == NotifyGrab || e.mode == NotifyUngrab) return false;
    return e.detail != NotifyInferior && e.detail != NotifyPointer;
}

// Buttons 4 to 7 turn the wheel and 8 and 9 go back and forth: as on
// Windows, only the three main buttons count as a click.
constexpr unsigned int LAST_CLICK_BUTTON = Button3;

void HandleEvent(Saver& saver, const XEvent& event)
{
    const bool full_screen = saver.FullScreen();
    switch (event.type) {
    case KeyPress:
        if (full_screen) saver.ended = true;
        break;
    case ButtonPress:
        if (full_screen && event.xbutton.button <= LAST_CLICK_BUTTON) saver.ended = true;
        break;
    case MotionNotify:
        if (full_screen && MouseTravelEndsSaver(saver.cursor_reference, {event.xmotion.x_root, event.xmotion.y_root}))
            saver.ended = true;
        break;
    case FocusOut:
        if (full_screen && LosesFocus(saver, event.xfocus)) saver.ended = true;
        break;
    case ConfigureNotify:
        if (event.xconfigure.window == saver.SizeSource()) FollowSize(saver);
        break;
    case DestroyNotify:
        // Our window goes only with its host: we never destroy it while running.
        if (event.xdestroywindow.window == saver.window || event.xdestroywindow.window == saver.host) {
            saver.window_gone = true;
            saver.ended = true;
        }
        break;
    default:
        break;
    }
}

void HandlePendingEvents(Saver& saver)
{
    while (!saver.ended && XPending(saver.display) > 0) {
        XEvent event;
        XNextEvent(saver.display, &event);
        HandleEvent(saver, event);
        if (saver.ended) Trace("Ended by X event %d on window 0x%lx\n", event.type, event.xany.window);
    }
}

void RunFrames(Saver& saver, const sigset_t& wait_mask)
{
    FramePace pace(saver.options->max_fps);
    pollfd connection = {ConnectionNumber(saver.display), POLLIN, 0};
    while (true) {
        HandlePendingEvents(saver);
        if (saver.ended || StopRequested) return;
        Timer_Frame();
        CRender::Update(FrameInterval);
        TraceController();
        CRender::Draw();
        if (saver.options->show_fps) DrawFrameRate();
        glXSwapBuffers(saver.display, saver.drawable);
        pace.FrameDone(MonotonicNanoseconds());
        HandlePendingEvents(saver);
        // Wait for the next frame's time, waking early for X events and for
        // the stop signals, which are let in only here.
        while (!saver.ended && !StopRequested) {
            const timespec timeout = pace.TimeToNextFrame(MonotonicNanoseconds());
            connection.revents = 0;
            if (ppoll(&connection, 1, &timeout, &wait_mask) > 0) HandlePendingEvents(saver);
            if (!pace.Waiting(MonotonicNanoseconds())) break;
        }
    }
}

void CloseScene()
{
    CRender::Close();
    Trace("%u frames rendered\n", static_cast<unsigned>(FrameCount));
    Trace("Sample framerate  = %5.2f fps\n", SampleFrameRate);
    Trace("Average framerate = %5.2f fps\n", AverageFrameRate);
}

void ReleaseWindow(Saver& saver)
{
    if (saver.context != nullptr) {
        glXMakeContextCurrent(saver.display, None, None, nullptr);
        // When a host took our window with it, Mesa's software renderer
        // corrupts its heap if the context is destroyed now; the process ends
        // at once anyway and takes the context with it.
        if (!saver.window_gone && (saver.drawable == saver.root || WindowExists(saver.display, saver.drawable)))
            glXDestroyContext(saver.display, saver.context);
        saver.context = nullptr;
    }
    X11ErrorTrap trap(saver.display);
    if (saver.window != 0 && !saver.window_gone) XDestroyWindow(saver.display, saver.window);
    if (saver.blank_cursor != 0) XFreeCursor(saver.display, saver.blank_cursor);
    if (saver.colormap != 0) XFreeColormap(saver.display, saver.colormap);
    trap.Failed();
}
}  // namespace

bool WindowExists(Display* display, Window window)
{
    if (window == 0) return false;
    X11ErrorTrap trap(display);
    XWindowAttributes attributes;
    const Status found = XGetWindowAttributes(display, window, &attributes);
    return !trap.Failed() && found != 0;
}

int RunX11Saver(Display* display, const CommandOptions& options)
{
    Saver saver;
    saver.display = display;
    saver.options = &options;
    saver.root = DefaultRootWindow(display);
    if (options.target == CommandOptions::Target::HostWindow) saver.host = Window(options.window);
    if (options.target == CommandOptions::Target::RootWindow) saver.host = saver.root;
    const sigset_t wait_mask = BlockStopSignals();

    if (saver.FullScreen() && AnotherFullScreenSaver(display, saver.root)) return 0;
    int error_base = 0, event_base = 0;
    if (!glXQueryExtension(display, &error_base, &event_base))
        return Fail(saver, "glXQueryExtension",
                    std::string("the X server ") + DisplayString(display) + " offers no OpenGL (GLX)");
    {
        // Told before anything is made: size changes, and the host's end.
        X11ErrorTrap trap(display);
        XSelectInput(display, saver.SizeSource(), StructureNotifyMask);
        if (trap.Failed() || HostVanished(saver)) {
            std::fprintf(stderr, "lumenfall: window 0x%lx does not exist (any more)\n", saver.host);
            return 0;
        }
    }

    VisualID required = 0;
    if (options.target == CommandOptions::Target::RootWindow)
        required = XVisualIDFromVisual(DefaultVisual(display, DefaultScreen(display)));
    XVisualInfo* visual = nullptr;
    const GLXFBConfig config = ChooseConfig(display, required, &visual);
    if (config == nullptr)
        return Fail(saver, "glXChooseFBConfig",
                    required != 0
                        ? "the root window's visual has no double-buffered OpenGL configuration with a depth buffer"
                        : "the X server has no double-buffered true-colour OpenGL configuration with a depth buffer");

    X11ErrorTrap window_trap(display);
    if (saver.FullScreen()) {
        CreateFullScreenWindow(saver, visual);
    } else if (options.target == CommandOptions::Target::HostWindow) {
        CreateEmbeddedWindow(saver, visual);
    } else {
        saver.drawable = saver.root;
    }
    XFree(visual);
    if (window_trap.Failed() || saver.drawable == 0) {
        const int exit_code = HostVanished(saver) ? 0 : Fail(saver, "XCreateWindow", "the X server refused the window");
        ReleaseWindow(saver);
        return exit_code;
    }

    int exit_code = 0;
    if (!StartGl(saver, config, &exit_code)) {
        ReleaseWindow(saver);
        return exit_code;
    }
    // Whole seconds since 1970, kept to their low 32 bits, as on Windows.
    Random_Seed(static_cast<int32_t>(static_cast<uint32_t>(std::time(nullptr))));
    saver.device.display = display;
    saver.device.drawable = saver.drawable;
    CRender::Init(ToHdc(&saver.device));
    FollowSize(saver);
    Timer_Start();

    RunFrames(saver, wait_mask);
    CloseScene();
    ReleaseWindow(saver);
    return 0;
}
