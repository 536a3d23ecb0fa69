#include "platform/x11/x11_windows.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/x11/device_context.h"
#include "platform/x11/event_translation.h"
#include "platform/x11/glx_pixel_format.h"
#include "platform/x11/message_queue.h"
#include "platform/x11/x11_display.h"

namespace {
constexpr ATOM FIRST_CLASS_ATOM = 0xC000;
constexpr UINT FIRST_REGISTERED_MESSAGE = 0xC000;
constexpr int STOCK_OBJECT_BASE = 0x100;
// How long a new full-screen window may take to become viewable, and how long
// to keep asking for the grabs that another client may briefly hold.
constexpr int VIEWABLE_WAIT_MS = 2000;
constexpr int GRAB_WAIT_MS = 1000;
constexpr int POLL_STEP_MS = 10;

constexpr long FULL_SCREEN_EVENTS =
    KeyPressMask | ButtonPressMask | PointerMotionMask | FocusChangeMask | ExposureMask | StructureNotifyMask;
constexpr long POINTER_EVENTS = ButtonPressMask | PointerMotionMask | ExposureMask | StructureNotifyMask;
constexpr long PASSIVE_EVENTS = ExposureMask | StructureNotifyMask;

struct WindowRecord {
    HWND parent = nullptr;
    WNDPROC procedure = nullptr;
    DWORD style = 0;
    int width = 0;
    int height = 0;
    X11DeviceContext dc;
    bool destroying = false;
};

struct ClassRecord {
    WNDCLASSA window_class;
    std::string name;
};

// The thread's windows, classes and queue: the window layer's own state,
// touched only from the one thread that owns the windows.
std::map<Window, WindowRecord> Windows;
std::map<std::string, ClassRecord> Classes;
std::map<std::string, UINT> RegisteredMessages;
MessageQueue Queue;
bool CursorHidden = false;
Cursor BlankCursor = None;

WindowRecord* Find(HWND window)
{
    auto it = Windows.find(WindowOfHandle(window));
    return it != Windows.end() ? &it->second : nullptr;
}

bool IsOurs(Window window) { return Windows.count(window) != 0; }

// Full-screen windows, and the children that cover them, take the user's input.
bool TakesInput(DWORD style, HWND parent)
{
    if (parent == nullptr) return (style & WS_POPUP) != 0;
    for (const WindowRecord* record = Find(parent); record != nullptr; record = Find(record->parent)) {
        if (record->parent == nullptr) return (record->style & WS_POPUP) != 0;
    }
    return false;
}

Cursor Blank(Display* display)
{
    if (BlankCursor == None) {
        static const char NO_BITS[1] = {0};
        const Pixmap empty = XCreateBitmapFromData(display, DefaultRootWindow(display), NO_BITS, 1, 1);
        XColor black = {};
        BlankCursor = XCreatePixmapCursor(display, empty, empty, &black, &black, 0, 0);
        XFreePixmap(display, empty);
    }
    return BlankCursor;
}

void Name(Display* display, Window window, LPCSTR title, LPCSTR class_name)
{
    XStoreName(display, window, title != nullptr ? title : "");
    std::string instance = "lumenfall";
    std::string window_class = class_name;
    XClassHint hint = {&instance[0], &window_class[0]};
    XSetClassHint(display, window, &hint);
    const Atom pid = XInternAtom(display, "_NET_WM_PID", False);
    const long process = long(getpid());
    XChangeProperty(display, window, pid, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&process), 1);
}

// Window managers that honour override-redirect leave the window alone; the
// others learn from these hints that it covers the screen above the rest.
void AskForFullScreen(Display* display, Window window)
{
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom values[] = {XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False),
                           XInternAtom(display, "_NET_WM_STATE_ABOVE", False)};
    XChangeProperty(display, window, state, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(values), 2);
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const WindowRecord* record = Find(window);
    if (record == nullptr || record->procedure == nullptr) return 0;
    return record->procedure(window, message, wParam, lParam);
}

// Windows' order: the window hears WM_DESTROY before its children do; the X
// windows go only once every procedure has let go of them. `x_alive` is false
// when the X server has already destroyed the window.
void Destroy(HWND window, bool x_alive)
{
    WindowRecord* record = Find(window);
    if (record == nullptr || record->destroying) return;
    record->destroying = true;
    Display* display = record->dc.display;
    if (x_alive) XUnmapWindow(display, WindowOfHandle(window));
    Send(window, WM_DESTROY, 0, 0);
    std::vector<HWND> children;
    for (const auto& entry : Windows) {
        if (entry.second.parent == window) children.push_back(HandleOfWindow(entry.first));
    }
    for (HWND child : children) Destroy(child, x_alive);
    Queue.Forget(window);
    Windows.erase(WindowOfHandle(window));
    if (x_alive) {
        X11ErrorTrap trap(display);
        XDestroyWindow(display, WindowOfHandle(window));
        trap.Failed();
    }
}

void Resize(HWND window, int width, int height)
{
    WindowRecord* record = Find(window);
    if (record == nullptr || (record->width == width && record->height == height)) return;
    record->width = width;
    record->height = height;
    MSG message = {};
    message.hwnd = window;
    message.message = WM_SIZE;
    message.wParam = SIZE_RESTORED;
    message.lParam = MAKELPARAM(width, height);
    Queue.PushInput(message);
}

// A destroyed window of ours, or the host of one of ours (whose children X
// has destroyed with it).
void Destroyed(HWND window)
{
    if (Find(window) != nullptr) {
        Destroy(window, false);
        return;
    }
    std::vector<HWND> orphans;
    for (const auto& entry : Windows) {
        if (entry.second.parent == window) orphans.push_back(HandleOfWindow(entry.first));
    }
    for (HWND orphan : orphans) Destroy(orphan, false);
}

void Apply(const WindowAction& action)
{
    switch (action.kind) {
    case WindowAction::Message: Queue.PushInput(action.message); break;
    case WindowAction::Invalidate:
        if (Find(action.message.hwnd) != nullptr) Queue.Invalidate(action.message.hwnd);
        break;
    case WindowAction::Resize:
        Resize(action.message.hwnd, LOWORD(action.message.lParam), HIWORD(action.message.lParam));
        break;
    case WindowAction::Destroyed: Destroyed(action.message.hwnd); break;
    }
}

// Everything the server has sent so far, translated into the queue.
void Pump(Display* display)
{
    std::vector<WindowAction> actions;
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        const KeySym symbol = event.type == KeyPress ? XLookupKeysym(&event.xkey, 0) : NoSymbol;
        actions.clear();
        TranslateEvent(event, IsOurs, symbol, actions);
        for (const WindowAction& action : actions) Apply(action);
    }
}

bool WaitUntilViewable(Display* display, Window window)
{
    for (int waited = 0; waited < VIEWABLE_WAIT_MS; waited += POLL_STEP_MS) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, window, &attributes)) return false;
        if (attributes.map_state == IsViewable) return true;
        usleep(POLL_STEP_MS * 1000);
    }
    return false;
}

// Full-screen saving takes the keyboard and the pointer, so that every key,
// button and motion reaches the close rules whoever had the focus before.
void TakeInput(Display* display, Window window)
{
    X11ErrorTrap trap(display);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    bool keyboard = false, pointer = false;
    for (int waited = 0; waited < GRAB_WAIT_MS && !(keyboard && pointer); waited += POLL_STEP_MS) {
        if (!keyboard)
            keyboard = XGrabKeyboard(display, window, False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
        if (!pointer)
            pointer = XGrabPointer(display, window, True, ButtonPressMask | PointerMotionMask, GrabModeAsync,
                                   GrabModeAsync, None, None, CurrentTime) == GrabSuccess;
        if (!(keyboard && pointer)) usleep(POLL_STEP_MS * 1000);
    }
    trap.Failed();
}
}  // namespace

ATOM WINAPI X11RegisterClassA(const WNDCLASSA* window_class)
{
    if (window_class == nullptr || window_class->lpszClassName == nullptr) return 0;
    const std::string name = window_class->lpszClassName;
    if (Classes.count(name) != 0) return 0;  // as Windows: the class already exists
    ClassRecord& record = Classes[name];
    record.window_class = *window_class;
    record.name = name;
    record.window_class.lpszClassName = record.name.c_str();
    return ATOM(FIRST_CLASS_ATOM + Classes.size() - 1);
}

HWND WINAPI X11CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y,
                               int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                               LPVOID parameter)
{
    Display* display = X11Display();
    if (display == nullptr || class_name == nullptr) return nullptr;
    const auto found = Classes.find(class_name);
    if (found == Classes.end()) return nullptr;
    const WNDCLASSA& window_class = found->second.window_class;

    const Window root = DefaultRootWindow(display);
    const Window parent_window = parent != nullptr ? WindowOfHandle(parent) : root;
    XSetWindowAttributes attributes = {};
    unsigned long mask = CWBackPixel | CWBorderPixel | CWEventMask;
    attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
    attributes.border_pixel = 0;
    attributes.event_mask = (style & WS_POPUP) && parent == nullptr ? FULL_SCREEN_EVENTS
                            : TakesInput(style, parent)             ? POINTER_EVENTS
                                                                    : PASSIVE_EVENTS;
    Visual* visual = CopyFromParent;
    int depth = CopyFromParent;
    XVisualInfo gl_visual = {};
    if (PreferredWindowVisual(display, &gl_visual)) {
        visual = gl_visual.visual;
        depth = gl_visual.depth;
        attributes.colormap = XCreateColormap(display, root, visual, AllocNone);
        mask |= CWColormap;
    }
    if ((style & WS_POPUP) && parent == nullptr) {
        attributes.override_redirect = True;
        mask |= CWOverrideRedirect;
    }
    if (CursorHidden) {
        attributes.cursor = Blank(display);
        mask |= CWCursor;
    }

    X11ErrorTrap trap(display);
    // X has no empty windows; the window still reports the size it was given.
    const Window window =
        XCreateWindow(display, parent_window, x, y, unsigned(width > 0 ? width : 1), unsigned(height > 0 ? height : 1),
                      0, depth, InputOutput, visual, mask, &attributes);
    if (trap.Failed() || window == None) return nullptr;
    Name(display, window, title, class_name);
    if ((ex_style & WS_EX_TOPMOST) && parent == nullptr) AskForFullScreen(display, window);
    // The host of a preview tells us when it goes; its children go with it.
    if (parent != nullptr && !IsOurs(parent_window)) XSelectInput(display, parent_window, StructureNotifyMask);

    const HWND handle = HandleOfWindow(window);
    WindowRecord& record = Windows[window];
    record.parent = parent;
    record.procedure = window_class.lpfnWndProc;
    record.style = style;
    record.width = width;
    record.height = height;
    record.dc.display = display;
    record.dc.drawable = window;
    record.dc.visual = gl_visual.visual != nullptr ? gl_visual.visualid : 0;

    CREATESTRUCTA creation = {parameter, instance, menu,         parent,     height,    width,
                              y,         x,        LONG(style),  title,      class_name, ex_style};
    if (Send(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&creation)) == -1) {
        Destroy(handle, true);
        return nullptr;
    }
    if (Find(handle) == nullptr) return nullptr;  // destroyed during its creation
    Send(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    if (style & WS_VISIBLE) {
        Send(handle, WM_SHOWWINDOW, TRUE, 0);
        if (Find(handle) == nullptr) return nullptr;
        XMapRaised(display, window);
        Queue.Invalidate(handle);
    }
    XFlush(display);
    return handle;
}

BOOL WINAPI X11DestroyWindow(HWND window)
{
    if (Find(window) == nullptr) return FALSE;
    Destroy(window, true);
    XFlush(X11Display());
    return TRUE;
}

BOOL WINAPI X11IsWindow(HWND window)
{
    if (window == nullptr) return FALSE;
    if (Find(window) != nullptr) return TRUE;
    Display* display = X11Display();
    if (display == nullptr) return FALSE;
    X11ErrorTrap trap(display);
    XWindowAttributes attributes;
    const Status found = XGetWindowAttributes(display, WindowOfHandle(window), &attributes);
    return !trap.Failed() && found != 0;
}

BOOL WINAPI X11GetClientRect(HWND window, RECT* rect)
{
    *rect = RECT{0, 0, 0, 0};
    if (const WindowRecord* record = Find(window)) {
        rect->right = record->width;
        rect->bottom = record->height;
        return TRUE;
    }
    Display* display = X11Display();
    if (display == nullptr || window == nullptr) return FALSE;
    X11ErrorTrap trap(display);
    Window root;
    int x, y;
    unsigned width, height, border, depth;
    if (!XGetGeometry(display, WindowOfHandle(window), &root, &x, &y, &width, &height, &border, &depth) ||
        trap.Failed())
        return FALSE;
    rect->right = LONG(width);
    rect->bottom = LONG(height);
    return TRUE;
}

HWND WINAPI X11GetParent(HWND window)
{
    if (const WindowRecord* record = Find(window)) return record->parent;
    Display* display = X11Display();
    if (display == nullptr || window == nullptr) return nullptr;
    X11ErrorTrap trap(display);
    Window root = None, parent = None, *children = nullptr;
    unsigned count = 0;
    const Status ok = XQueryTree(display, WindowOfHandle(window), &root, &parent, &children, &count);
    if (children != nullptr) XFree(children);
    if (trap.Failed() || !ok || parent == root) return nullptr;
    return HandleOfWindow(parent);
}

HWND WINAPI X11FindWindowA(LPCSTR class_name, LPCSTR title)
{
    Display* display = X11Display();
    if (display == nullptr) return nullptr;
    X11ErrorTrap trap(display);
    Window root = None, parent = None, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return nullptr;
    HWND found = nullptr;
    for (unsigned i = 0; i < count && found == nullptr; ++i) {
        bool match = true;
        if (class_name != nullptr) {
            XClassHint hint = {nullptr, nullptr};
            match = XGetClassHint(display, children[i], &hint) && hint.res_class != nullptr &&
                    std::strcmp(hint.res_class, class_name) == 0;
            if (hint.res_name != nullptr) XFree(hint.res_name);
            if (hint.res_class != nullptr) XFree(hint.res_class);
        }
        if (match && title != nullptr) {
            char* name = nullptr;
            match = XFetchName(display, children[i], &name) && name != nullptr && std::strcmp(name, title) == 0;
            if (name != nullptr) XFree(name);
        }
        if (match) found = HandleOfWindow(children[i]);
    }
    if (children != nullptr) XFree(children);
    trap.Failed();  // a window that vanished while we looked is simply no match
    return found;
}

HWND WINAPI X11GetForegroundWindow()
{
    Display* display = X11Display();
    if (display == nullptr) return nullptr;
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    if (focus == None || focus == PointerRoot) return nullptr;
    return HandleOfWindow(focus);
}

BOOL WINAPI X11SetForegroundWindow(HWND window)
{
    Display* display = X11Display();
    if (display == nullptr || window == nullptr) return FALSE;
    const Window x_window = WindowOfHandle(window);
    const WindowRecord* record = Find(window);
    if (record != nullptr && record->parent == nullptr && (record->style & WS_POPUP)) {
        if (!WaitUntilViewable(display, x_window)) return FALSE;
        XRaiseWindow(display, x_window);
        TakeInput(display, x_window);
        return TRUE;
    }
    // Another program's window (the saver that already runs): raise it and,
    // when it can take it, give it the focus.
    X11ErrorTrap trap(display);
    XRaiseWindow(display, x_window);
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, x_window, &attributes) && attributes.map_state == IsViewable)
        XSetInputFocus(display, x_window, RevertToParent, CurrentTime);
    return !trap.Failed();
}

HDC WINAPI X11GetDC(HWND window)
{
    if (window == nullptr) {
        static X11DeviceContext screen;
        Display* display = X11Display();
        if (display == nullptr) return nullptr;
        screen.display = display;
        screen.drawable = DefaultRootWindow(display);
        return ToHdc(&screen);
    }
    WindowRecord* record = Find(window);
    return record != nullptr ? ToHdc(&record->dc) : nullptr;
}

int WINAPI X11ReleaseDC(HWND, HDC dc) { return dc != nullptr ? 1 : 0; }

int WINAPI X11GetClipBox(HDC dc, RECT* rect)
{
    *rect = RECT{0, 0, 0, 0};
    const X11DeviceContext* context = FromHdc(dc);
    if (context == nullptr || context->display == nullptr) return 0;
    if (context->drawable == DefaultRootWindow(context->display)) {
        const int screen = DefaultScreen(context->display);
        rect->right = DisplayWidth(context->display, screen);
        rect->bottom = DisplayHeight(context->display, screen);
        return SIMPLEREGION;
    }
    if (!X11GetClientRect(HandleOfWindow(context->drawable), rect)) return 0;
    return rect->right > 0 && rect->bottom > 0 ? SIMPLEREGION : NULLREGION;
}

// No icon resources on this host; the window manager's default serves.
HICON WINAPI X11LoadIconA(HINSTANCE, LPCSTR) { return nullptr; }

// Only tokens: every window of ours is cleared to black by X itself.
HGDIOBJ WINAPI X11GetStockObject(int object)
{
    return reinterpret_cast<HGDIOBJ>(uintptr_t(STOCK_OBJECT_BASE + object));
}

BOOL WINAPI X11GetMessageA(MSG* message, HWND, UINT, UINT)
{
    Display* display = X11Display();
    for (;;) {
        if (display != nullptr) Pump(display);
        if (Queue.Take(message)) return message->message != WM_QUIT;
        if (display == nullptr) {
            // Nothing can ever arrive: end the loop as a failed run.
            *message = MSG{};
            message->message = WM_QUIT;
            message->wParam = 1;
            return FALSE;
        }
        XFlush(display);
        pollfd connection = {ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, -1);
    }
}

BOOL WINAPI X11PeekMessageA(MSG* message, HWND window, UINT first, UINT last, UINT remove)
{
    if (Display* display = X11Display()) Pump(display);
    return Queue.Peek(message, window, first, last, (remove & PM_REMOVE) != 0);
}

// Key presses carry no characters to translate for this program.
BOOL WINAPI X11TranslateMessage(const MSG*) { return FALSE; }

LRESULT WINAPI X11DispatchMessageA(const MSG* message)
{
    return Send(message->hwnd, message->message, message->wParam, message->lParam);
}

LRESULT WINAPI X11SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Send(window, message, wParam, lParam);
}

BOOL WINAPI X11PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Only the saver's own windows (or the thread itself) read this queue.
    if (window != nullptr && Find(window) == nullptr) return FALSE;
    MSG posted = {};
    posted.hwnd = window;
    posted.message = message;
    posted.wParam = wParam;
    posted.lParam = lParam;
    Queue.Post(posted);
    return TRUE;
}

void WINAPI X11PostQuitMessage(int code) { Queue.PostQuit(code); }

LRESULT WINAPI X11DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_CLOSE: X11DestroyWindow(window); break;
    case WM_PAINT: Queue.Validate(window); break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) Send(window, WM_CLOSE, 0, 0);
        break;
    default: break;
    }
    return 0;
}

UINT WINAPI X11RegisterWindowMessageA(LPCSTR name)
{
    if (name == nullptr) return 0;
    const auto found = RegisteredMessages.find(name);
    if (found != RegisteredMessages.end()) return found->second;
    const UINT id = FIRST_REGISTERED_MESSAGE + UINT(RegisteredMessages.size());
    RegisteredMessages[name] = id;
    return id;
}

BOOL WINAPI X11InvalidateRect(HWND window, const RECT*, BOOL)
{
    if (Find(window) == nullptr) return FALSE;
    Queue.Invalidate(window);
    return TRUE;
}

HDC WINAPI X11BeginPaint(HWND window, PAINTSTRUCT* paint)
{
    *paint = PAINTSTRUCT{};
    Queue.Validate(window);
    paint->hdc = X11GetDC(window);
    X11GetClientRect(window, &paint->rcPaint);
    return paint->hdc;
}

BOOL WINAPI X11EndPaint(HWND, const PAINTSTRUCT*) { return TRUE; }

BOOL WINAPI X11GetCursorPos(POINT* position)
{
    *position = POINT{0, 0};
    Display* display = X11Display();
    if (display == nullptr) return FALSE;
    Window root = None, child = None;
    int root_x = 0, root_y = 0, x = 0, y = 0;
    unsigned buttons = 0;
    if (!XQueryPointer(display, DefaultRootWindow(display), &root, &child, &root_x, &root_y, &x, &y, &buttons))
        return FALSE;
    *position = POINT{root_x, root_y};
    return TRUE;
}

// Null hides the pointer over every window of ours, as long as it stays
// hidden; any other cursor brings the ordinary pointer back.
HCURSOR WINAPI X11SetCursor(HCURSOR cursor)
{
    static const HCURSOR ARROW = reinterpret_cast<HCURSOR>(uintptr_t(1));
    const HCURSOR previous = CursorHidden ? nullptr : ARROW;
    Display* display = X11Display();
    if (display == nullptr) return previous;
    const bool hide = cursor == nullptr;
    if (hide == CursorHidden) return previous;
    CursorHidden = hide;
    for (const auto& entry : Windows) {
        if (hide) {
            XDefineCursor(display, entry.first, Blank(display));
        } else {
            XUndefineCursor(display, entry.first);
        }
    }
    XFlush(display);
    return previous;
}
