// X events as the saver's input events; no X server is needed to make them.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "platform/x11/x11_input.h"

namespace {
constexpr unsigned int ESCAPE_KEYCODE = 9, A_KEYCODE = 38;
constexpr Atom WM_PROTOCOLS = 301, WM_DELETE_WINDOW = 302, OTHER_ATOM = 303;

KeySym KeySymbolOf(XKeyEvent* event, int)
{
    return event->keycode == ESCAPE_KEYCODE ? XK_Escape : XK_a;
}

XEvent Key(unsigned int keycode)
{
    XEvent event = {};
    event.type = KeyPress;
    event.xkey.keycode = keycode;
    return event;
}

XEvent Button(unsigned int button)
{
    XEvent event = {};
    event.type = ButtonPress;
    event.xbutton.button = button;
    return event;
}

XEvent Motion(int x_root, int y_root)
{
    XEvent event = {};
    event.type = MotionNotify;
    event.xmotion.x = 1;  // window-relative: never the measure
    event.xmotion.x_root = x_root;
    event.xmotion.y_root = y_root;
    return event;
}

XEvent Focus(int type, int mode, int detail)
{
    XEvent event = {};
    event.type = type;
    event.xfocus.mode = mode;
    event.xfocus.detail = detail;
    return event;
}

XEvent Protocol(Atom message_type, Atom protocol)
{
    XEvent event = {};
    event.type = ClientMessage;
    event.xclient.message_type = message_type;
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(protocol);
    return event;
}

struct X11Case {
    const char* name;
    XEvent event;
    bool keyboard_grabbed;
    std::optional<SaverInput> input;  // none: the event is no input event
};

const X11Case X11_CASES[] = {
    {"key", Key(A_KEYCODE), true, SaverInput::KeyDown},
    {"escape", Key(ESCAPE_KEYCODE), true, SaverInput::EscapeDown},
    {"left_button", Button(Button1), true, SaverInput::ButtonDown},
    {"right_button", Button(Button3), true, SaverInput::ButtonDown},
    {"wheel", Button(Button4), true, std::nullopt},
    {"back_button", Button(8), true, std::nullopt},
    {"motion", Motion(640, 480), true, SaverInput::PointerAt},
    {"focus_away", Focus(FocusOut, NotifyNormal, NotifyNonlinear), false, SaverInput::FocusLost},
    {"focus_away_under_grab", Focus(FocusOut, NotifyNormal, NotifyNonlinear), true, std::nullopt},
    {"focus_to_a_grab", Focus(FocusOut, NotifyGrab, NotifyNonlinear), false, std::nullopt},
    {"focus_from_a_grab", Focus(FocusOut, NotifyUngrab, NotifyNonlinear), false, std::nullopt},
    {"focus_to_a_child", Focus(FocusOut, NotifyNormal, NotifyInferior), false, std::nullopt},
    {"focus_under_the_pointer", Focus(FocusOut, NotifyNormal, NotifyPointer), false, std::nullopt},
    {"focus_in", Focus(FocusIn, NotifyNormal, NotifyNonlinear), false, std::nullopt},
    {"window_manager_close", Protocol(WM_PROTOCOLS, WM_DELETE_WINDOW), false,
     SaverInput::CloseRequested},
    {"other_protocol", Protocol(WM_PROTOCOLS, OTHER_ATOM), false, std::nullopt},
    {"other_client_message", Protocol(OTHER_ATOM, WM_DELETE_WINDOW), false, std::nullopt},
};

TEST(X11Input, TranslatesTheInputEvents)
{
    for (const X11Case& row : X11_CASES) {
        SCOPED_TRACE(row.name);
        const X11InputContext context = {.keyboard_grabbed = row.keyboard_grabbed,
                                         .wm_protocols = WM_PROTOCOLS,
                                         .wm_delete_window = WM_DELETE_WINDOW,
                                         .key_symbol = KeySymbolOf};
        const std::optional<SaverEvent> event = SaverEventFromX11(row.event, context);
        ASSERT_EQ(event.has_value(), row.input.has_value());
        if (!event) continue;
        EXPECT_EQ(event->input, *row.input);
        if (event->input != SaverInput::PointerAt) continue;
        EXPECT_EQ(event->pointer.x, 640);
        EXPECT_EQ(event->pointer.y, 480);
    }
}
}  // namespace
