#include "platform/x11/x11_window.h"

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include <X11/Xatom.h>

#include "platform/x11/x11_display.h"
#include "saver_identity.h"

namespace {
constexpr unsigned DEFAULT_WINDOW_WIDTH = 800, DEFAULT_WINDOW_HEIGHT = 600;
constexpr int GRAB_ATTEMPTS = 50;
constexpr long GRAB_RETRY_NS = 20'000'000;

void SetCommonProperties(Display* display, Window window, const char* title,
                         const char* window_class)
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

Window CreateWindowIn(X11Surface& surface, Window parent, RECT place, XVisualInfo* visual,
                      long events, bool override_redirect)
{
    XSetWindowAttributes attributes = {};
    surface.colormap = XCreateColormap(surface.display, surface.root, visual->visual, AllocNone);
    attributes.colormap = surface.colormap;
    attributes.background_pixel = BlackPixel(surface.display, DefaultScreen(surface.display));
    attributes.border_pixel = 0;
    attributes.event_mask = events;
    attributes.override_redirect = override_redirect;
    return XCreateWindow(
        surface.display, parent, place.left, place.top, unsigned(place.right - place.left),
        unsigned(place.bottom - place.top), 0, visual->depth, InputOutput, visual->visual,
        CWColormap | CWBackPixel | CWBorderPixel | CWEventMask | CWOverrideRedirect, &attributes);
}

// A window manager may hold the keyboard or pointer for a moment after our
// window maps; without the keyboard, the close rule's focus event stands in
// for keys.
void GrabInput(X11Surface& surface)
{
    const timespec retry = {0, GRAB_RETRY_NS};
    bool keyboard = false, pointer = false;
    for (int attempt = 0; attempt < GRAB_ATTEMPTS && !(keyboard && pointer); ++attempt) {
        if (!keyboard)
            keyboard = XGrabKeyboard(surface.display, surface.window, False, GrabModeAsync,
                                     GrabModeAsync, CurrentTime) == GrabSuccess;
        if (!pointer)
            pointer =
                XGrabPointer(surface.display, surface.window, False,
                             ButtonPressMask | PointerMotionMask, GrabModeAsync, GrabModeAsync,
                             None, surface.blank_cursor, CurrentTime) == GrabSuccess;
        if (!(keyboard && pointer)) nanosleep(&retry, nullptr);
    }
    surface.keyboard_grabbed = keyboard;
    if (!keyboard || !pointer)
        std::fprintf(stderr, "lumenfall: another program holds the %s\n",
                     keyboard ? "pointer" : "keyboard");
}

bool NamedAsFullScreenSaver(Display* display, Window window)
{
    XClassHint hint = {};
    if (!XGetClassHint(display, window, &hint)) return false;
    char* name = nullptr;
    const bool found = hint.res_class != nullptr &&
                       std::string(hint.res_class) == SAVER_WINDOW_CLASS &&
                       XFetchName(display, window, &name) && name != nullptr &&
                       std::string(name) == FULL_SCREEN_TITLE;
    if (name != nullptr) XFree(name);
    if (hint.res_name != nullptr) XFree(hint.res_name);
    if (hint.res_class != nullptr) XFree(hint.res_class);
    return found;
}

// An override-redirect window, so that every key and click reaches us. No
// window-manager hints: a manager leaves such a window alone, and some
// compositors trip over hints on one.
void CreateFullScreenWindowX11(X11Surface& surface, XVisualInfo* visual)
{
    XWindowAttributes root = {};
    XGetWindowAttributes(surface.display, surface.root, &root);
    const long events =
        KeyPressMask | ButtonPressMask | PointerMotionMask | FocusChangeMask | StructureNotifyMask;
    surface.window = CreateWindowIn(surface, surface.root, {0, 0, root.width, root.height}, visual,
                                    events, true);
    SetCommonProperties(surface.display, surface.window, FULL_SCREEN_TITLE, SAVER_WINDOW_CLASS);
    surface.blank_cursor = BlankCursor(surface.display, surface.window);
    XDefineCursor(surface.display, surface.window, surface.blank_cursor);
    XMapRaised(surface.display, surface.window);
    XSync(surface.display, False);
    GrabInput(surface);
    XSetInputFocus(surface.display, surface.window, RevertToParent, CurrentTime);
    Window unused_root, unused_child;
    int x = 0, y = 0, unused;
    unsigned int unused_mask;
    if (XQueryPointer(surface.display, surface.root, &unused_root, &unused_child, &x, &y, &unused,
                      &unused, &unused_mask))
        surface.pointer = {x, y};
    surface.drawable = surface.window;
}

// Of our own visual, so that any host will do, whatever its visual. It asks
// for no input events.
void CreateEmbeddedWindowX11(X11Surface& surface, XVisualInfo* visual)
{
    surface.window =
        CreateWindowIn(surface, surface.host, {0, 0, 1, 1}, visual, StructureNotifyMask, false);
    SetCommonProperties(surface.display, surface.window, PREVIEW_TITLE, PRODUCT_NAME);
    XMapWindow(surface.display, surface.window);
    surface.drawable = surface.window;
}

void CreateTopLevelWindowX11(X11Surface& surface, XVisualInfo* visual,
                             const WindowGeometry& geometry)
{
    XWindowAttributes root = {};
    XGetWindowAttributes(surface.display, surface.root, &root);
    XSizeHints hints = {};
    hints.flags = geometry.width != 0 ? USSize : PSize;
    hints.width = int(geometry.width != 0 ? geometry.width : DEFAULT_WINDOW_WIDTH);
    hints.height = int(geometry.height != 0 ? geometry.height : DEFAULT_WINDOW_HEIGHT);
    if (geometry.positioned) {
        hints.flags |= USPosition;
        hints.x = geometry.from_right ? root.width - hints.width - geometry.x : geometry.x;
        hints.y = geometry.from_bottom ? root.height - hints.height - geometry.y : geometry.y;
    }
    const RECT place = {hints.x, hints.y, hints.x + hints.width, hints.y + hints.height};
    surface.window = CreateWindowIn(surface, surface.root, place, visual,
                                    KeyPressMask | StructureNotifyMask, false);
    SetCommonProperties(surface.display, surface.window, PRODUCT_NAME, PRODUCT_NAME);
    XSetWMNormalHints(surface.display, surface.window, &hints);
    Atom delete_window = XInternAtom(surface.display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(surface.display, surface.window, &delete_window, 1);
    XMapWindow(surface.display, surface.window);
    surface.top_level = true;
    surface.drawable = surface.window;
}

}  // namespace

bool FullScreenSaverRunsX11(Display* display, Window root)
{
    // Any of the windows may vanish meanwhile; the trap keeps that harmless.
    X11ErrorTrap trap(display);
    Window unused_root, unused_parent, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, root, &unused_root, &unused_parent, &children, &count)) return false;
    bool found = false;
    for (unsigned int i = 0; i < count && !found; ++i)
        found = NamedAsFullScreenSaver(display, children[i]);
    if (children != nullptr) XFree(children);
    trap.Failed();
    return found;
}

void CreateSurfaceX11(X11Surface& surface, const CommandOptions& options, XVisualInfo* visual)
{
    switch (options.target) {
    case CommandOptions::Target::OwnWindow:
        CreateFullScreenWindowX11(surface, visual);
        break;
    case CommandOptions::Target::HostWindow:
        CreateEmbeddedWindowX11(surface, visual);
        break;
    case CommandOptions::Target::TopLevel:
        CreateTopLevelWindowX11(surface, visual, options.geometry);
        break;
    case CommandOptions::Target::RootWindow:
        surface.drawable = surface.root;
        break;
    }
}

bool WatchSizeSourceX11(X11Surface& surface)
{
    X11ErrorTrap trap(surface.display);
    XSelectInput(surface.display, surface.SizeSource(), StructureNotifyMask);
    return !trap.Failed() && !HostVanishedX11(surface);
}

bool HostVanishedX11(X11Surface& surface)
{
    if (surface.host == 0) return false;
    surface.gone = !WindowExists(surface.display, surface.host);
    return surface.gone;
}

void DestroySurfaceX11(X11Surface& surface)
{
    X11ErrorTrap trap(surface.display);
    if (surface.window != 0 && !surface.gone) XDestroyWindow(surface.display, surface.window);
    if (surface.blank_cursor != 0) XFreeCursor(surface.display, surface.blank_cursor);
    if (surface.colormap != 0) XFreeColormap(surface.display, surface.colormap);
    trap.Failed();
}
