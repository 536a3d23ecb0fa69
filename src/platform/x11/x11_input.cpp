#include "platform/x11/x11_input.h"

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
}  // namespace

std::optional<SaverEvent> SaverEventFromX11(const XEvent& event, bool keyboard_grabbed)
{
    switch (event.type) {
    case KeyPress:
        return SaverEvent{.input = SaverInput::KeyDown};
    case ButtonPress:
        if (event.xbutton.button <= LAST_CLICK_BUTTON)
            return SaverEvent{.input = SaverInput::ButtonDown};
        break;
    case MotionNotify:
        return SaverEvent{.input = SaverInput::PointerAt,
                          .pointer = {event.xmotion.x_root, event.xmotion.y_root}};
    case FocusOut:
        if (LosesFocus(event.xfocus, keyboard_grabbed))
            return SaverEvent{.input = SaverInput::FocusLost};
        break;
    default:
        break;
    }
    return std::nullopt;
}
