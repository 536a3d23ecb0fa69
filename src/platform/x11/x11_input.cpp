#include "platform/x11/x11_input.h"

#include <X11/keysym.h>

namespace {
// Buttons 4 to 7 turn the wheel and 8 and 9 go back and forth: as on
// Windows, only the three main buttons count as a click.
constexpr unsigned int LAST_CLICK_BUTTON = Button3;

// While we hold the keyboard every key reaches us wherever the focus is, and
// window managers move the focus about as our window maps (Xwayland's does
// at once), so only a saver that could not take the keyboard treats the
// focus leaving it as the user turning to another program. Focus moving
// within our window, or produced by a grab, never counts.
bool LosesFocus(const XFocusChangeEvent& e, bool keyboard_grabbed)
{
    if (keyboard_grabbed || e.mode == NotifyGrab || e.mode == NotifyUngrab) return false;
    return e.detail != NotifyInferior && e.detail != NotifyPointer;
}

bool AsksToClose(const XClientMessageEvent& e, const X11InputContext& context)
{
    return e.message_type == context.wm_protocols && e.format == 32 &&
           Atom(e.data.l[0]) == context.wm_delete_window;
}
}  // namespace

X11InputContext InputContextX11(Display* display, bool keyboard_grabbed)
{
    return {.keyboard_grabbed = keyboard_grabbed,
            .wm_protocols = XInternAtom(display, "WM_PROTOCOLS", False),
            .wm_delete_window = XInternAtom(display, "WM_DELETE_WINDOW", False)};
}

std::optional<SaverEvent> SaverEventFromX11(const XEvent& event, const X11InputContext& context)
{
    switch (event.type) {
    case KeyPress: {
        XKeyEvent key = event.xkey;
        const bool escape = context.key_symbol(&key, 0) == XK_Escape;
        return SaverEvent{.input = escape ? SaverInput::EscapeDown : SaverInput::KeyDown};
    }
    case ButtonPress:
        if (event.xbutton.button <= LAST_CLICK_BUTTON)
            return SaverEvent{.input = SaverInput::ButtonDown};
        break;
    case MotionNotify:
        return SaverEvent{.input = SaverInput::PointerAt,
                          .pointer = {event.xmotion.x_root, event.xmotion.y_root}};
    case FocusOut:
        if (LosesFocus(event.xfocus, context.keyboard_grabbed))
            return SaverEvent{.input = SaverInput::FocusLost};
        break;
    case ClientMessage:
        if (AsksToClose(event.xclient, context))
            return SaverEvent{.input = SaverInput::CloseRequested};
        break;
    default:
        break;
    }
    return std::nullopt;
}
