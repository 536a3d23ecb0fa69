#include "platform/x11/event_translation.h"

#include <X11/keysym.h>

namespace {
constexpr unsigned SCROLL_UP = 4, SCROLL_DOWN = 5, SCROLL_LEFT = 6, SCROLL_RIGHT = 7, BACK = 8, FORWARD = 9;

void Emit(std::vector<WindowAction>& out, Window window, UINT message, WPARAM wParam, LPARAM lParam,
          unsigned long time, int x_root, int y_root)
{
    WindowAction action{WindowAction::Message, MSG{}};
    action.message.hwnd = HandleOfWindow(window);
    action.message.message = message;
    action.message.wParam = wParam;
    action.message.lParam = lParam;
    action.message.time = DWORD(time);
    action.message.pt = POINT{x_root, y_root};
    out.push_back(action);
}

void EmitAction(std::vector<WindowAction>& out, WindowAction::Kind kind, Window window, LPARAM lParam = 0)
{
    WindowAction action{kind, MSG{}};
    action.message.hwnd = HandleOfWindow(window);
    action.message.lParam = lParam;
    out.push_back(action);
}

WPARAM MouseKeys(unsigned state)
{
    WPARAM keys = 0;
    if (state & Button1Mask) keys |= MK_LBUTTON;
    if (state & Button2Mask) keys |= MK_MBUTTON;
    if (state & Button3Mask) keys |= MK_RBUTTON;
    if (state & ShiftMask) keys |= MK_SHIFT;
    if (state & ControlMask) keys |= MK_CONTROL;
    return keys;
}

// Client coordinates as a mouse message packs them: two signed 16-bit halves.
LPARAM ClientPoint(int x, int y) { return MAKELPARAM(WORD(short(x)), WORD(short(y))); }

void TranslateButton(const XButtonEvent& e, std::vector<WindowAction>& out)
{
    UINT message = 0;
    WPARAM wParam = MouseKeys(e.state);
    LPARAM lParam = ClientPoint(e.x, e.y);
    switch (e.button) {
    case Button1: message = WM_LBUTTONDOWN; break;
    case Button2: message = WM_MBUTTONDOWN; break;
    case Button3: message = WM_RBUTTONDOWN; break;
    // The wheel is no button on Windows: it turns, and its messages carry
    // screen coordinates.
    case SCROLL_UP:
    case SCROLL_DOWN:
    case SCROLL_LEFT:
    case SCROLL_RIGHT: {
        const bool vertical = e.button <= SCROLL_DOWN;
        const short delta = (e.button == SCROLL_UP || e.button == SCROLL_RIGHT) ? WHEEL_DELTA : -WHEEL_DELTA;
        message = vertical ? WM_MOUSEWHEEL : WM_MOUSEHWHEEL;
        wParam = MAKEWPARAM(WORD(wParam), WORD(delta));
        lParam = ClientPoint(e.x_root, e.y_root);
        break;
    }
    case BACK:
    case FORWARD:
        message = WM_XBUTTONDOWN;
        wParam = MAKEWPARAM(WORD(wParam), e.button == BACK ? XBUTTON1 : XBUTTON2);
        break;
    default: return;
    }
    Emit(out, e.window, WM_SETCURSOR, WPARAM(e.window), MAKELPARAM(HTCLIENT, message), e.time, e.x_root, e.y_root);
    Emit(out, e.window, message, wParam, lParam, e.time, e.x_root, e.y_root);
}

// Focus that moves within our own windows, or the focus events that a grab
// (ours included) produces, are no loss of activation.
bool LosesActivation(const XFocusChangeEvent& e)
{
    if (e.mode == NotifyGrab || e.mode == NotifyUngrab) return false;
    return e.detail != NotifyInferior && e.detail != NotifyPointer;
}
}  // namespace

WPARAM VirtualKeyOf(KeySym symbol)
{
    if (symbol >= XK_a && symbol <= XK_z) return WPARAM('A' + (symbol - XK_a));
    if ((symbol >= XK_A && symbol <= XK_Z) || (symbol >= XK_0 && symbol <= XK_9)) return WPARAM(symbol);
    if (symbol >= XK_F1 && symbol <= XK_F24) return WPARAM(VK_F1 + (symbol - XK_F1));
    switch (symbol) {
    case XK_BackSpace: return VK_BACK;
    case XK_Tab: return VK_TAB;
    case XK_Return:
    case XK_KP_Enter: return VK_RETURN;
    case XK_Escape: return VK_ESCAPE;
    case XK_space: return VK_SPACE;
    case XK_Left: return VK_LEFT;
    case XK_Up: return VK_UP;
    case XK_Right: return VK_RIGHT;
    case XK_Down: return VK_DOWN;
    case XK_Shift_L:
    case XK_Shift_R: return VK_SHIFT;
    case XK_Control_L:
    case XK_Control_R: return VK_CONTROL;
    case XK_Alt_L:
    case XK_Alt_R: return VK_MENU;
    default: return 0;
    }
}

void TranslateEvent(const XEvent& event, bool (*ours)(Window), KeySym symbol, std::vector<WindowAction>& out)
{
    if (event.type == DestroyNotify) {
        EmitAction(out, WindowAction::Destroyed, event.xdestroywindow.window);
        return;
    }
    if (!ours(event.xany.window)) return;
    switch (event.type) {
    case KeyPress: {
        const XKeyEvent& e = event.xkey;
        // Alt held (or F10) makes it a system key, as Windows reports it.
        const bool system = (e.state & Mod1Mask) != 0 || symbol == XK_F10;
        // Repeat count 1 and the scan code, as the low bits of lParam carry them.
        const LPARAM lParam = LPARAM(1 | ((e.keycode & 0xFF) << 16) | (system && (e.state & Mod1Mask) ? 1 << 29 : 0));
        Emit(out, e.window, system ? WM_SYSKEYDOWN : WM_KEYDOWN, VirtualKeyOf(symbol), lParam, e.time, e.x_root,
             e.y_root);
        break;
    }
    case ButtonPress: TranslateButton(event.xbutton, out); break;
    case MotionNotify: {
        const XMotionEvent& e = event.xmotion;
        Emit(out, e.window, WM_SETCURSOR, WPARAM(e.window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), e.time, e.x_root,
             e.y_root);
        Emit(out, e.window, WM_MOUSEMOVE, MouseKeys(e.state), ClientPoint(e.x, e.y), e.time, e.x_root, e.y_root);
        break;
    }
    case FocusOut:
        if (LosesActivation(event.xfocus)) Emit(out, event.xfocus.window, WM_ACTIVATEAPP, 0, 0, 0, 0, 0);
        break;
    case Expose:
        if (event.xexpose.count == 0) EmitAction(out, WindowAction::Invalidate, event.xexpose.window);
        break;
    case ConfigureNotify:
        EmitAction(out, WindowAction::Resize, event.xconfigure.window,
                   MAKELPARAM(event.xconfigure.width, event.xconfigure.height));
        break;
    default: break;
    }
}
