// X events as the saver's input events; no X server is needed to make them.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "platform/x11/x11_input.h"

// Xlib's event structures have many fields that a translation never reads.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {
constexpr unsigned int ESCAPE_KEYCODE = 9, A_KEYCODE = 38;
constexpr Atom WM_PROTOCOLS = 301, WM_DELETE_WINDOW = 302, OTHER_ATOM = 303;
constexpr bool GRABBED = true, FREE = false;
constexpr std::nullopt_t NO_INPUT = std::nullopt;

KeySym KeySymbolOf(XKeyEvent* event, int)
{
    return event->keycode == ESCAPE_KEYCODE ? XK_Escape : XK_a;
}

XEvent Key(unsigned int keycode) { return {.xkey = {.type = KeyPress, .keycode = keycode}}; }

XEvent Button(unsigned int button) { return {.xbutton = {.type = ButtonPress, .button = button}}; }

// The window-relative place is never the measure.
XEvent Motion(int x_root, int y_root)
{
    return {.xmotion = {.type = MotionNotify, .x = 1, .y = 1, .x_root = x_root, .y_root = y_root}};
}

XEvent FocusAway(int mode, int detail)
{
    return {.xfocus = {.type = FocusOut, .mode = mode, .detail = detail}};
}

XEvent FocusComing() { return {.xfocus = {.type = FocusIn, .mode = NotifyNormal}}; }

XEvent Message(Atom message_type, Atom protocol, int format = 32)
{
    return {.xclient = {.type = ClientMessage,
                        .message_type = message_type,
                        .format = format,
                        .data = {.l = {long(protocol)}}}};
}

struct X11Row {
    const char* name;
    XEvent event;
    bool keyboard_grabbed;
    std::optional<SaverInput> input;  // none: the event is no input event
    POINT pointer = {0, 0};           // PointerAt only
};

const X11Row X11_ROWS[] = {
    {"key", Key(A_KEYCODE), GRABBED, SaverInput::KeyDown},
    {"escape", Key(ESCAPE_KEYCODE), GRABBED, SaverInput::EscapeDown},
    {"left_button", Button(Button1), GRABBED, SaverInput::ButtonDown},
    {"right_button", Button(Button3), GRABBED, SaverInput::ButtonDown},
    {"wheel", Button(Button4), GRABBED, NO_INPUT},
    {"motion", Motion(640, 480), GRABBED, SaverInput::PointerAt, {640, 480}},
    {"focus_away", FocusAway(NotifyNormal, NotifyNonlinear), FREE, SaverInput::FocusLost},
    // While the saver holds the keyboard, window managers move the focus about.
    {"focus_away_grabbed", FocusAway(NotifyNormal, NotifyNonlinear), GRABBED, NO_INPUT},
    {"focus_to_a_grab", FocusAway(NotifyGrab, NotifyNonlinear), FREE, NO_INPUT},
    {"focus_from_a_grab", FocusAway(NotifyUngrab, NotifyNonlinear), FREE, NO_INPUT},
    {"focus_to_a_child", FocusAway(NotifyNormal, NotifyInferior), FREE, NO_INPUT},
    {"focus_under_pointer", FocusAway(NotifyNormal, NotifyPointer), FREE, NO_INPUT},
    {"focus_in", FocusComing(), FREE, NO_INPUT},
    {"window_manager_close", Message(WM_PROTOCOLS, WM_DELETE_WINDOW), FREE,
     SaverInput::CloseRequested},
    {"close_in_16_bits", Message(WM_PROTOCOLS, WM_DELETE_WINDOW, 16), FREE, NO_INPUT},
    {"other_protocol", Message(WM_PROTOCOLS, OTHER_ATOM), FREE, NO_INPUT},
    {"other_message", Message(OTHER_ATOM, WM_DELETE_WINDOW), FREE, NO_INPUT},
};

TEST(X11Input, TranslatesTheInputEvents)
{
    for (const X11Row& row : X11_ROWS) {
        SCOPED_TRACE(row.name);
        const X11InputContext context = {.keyboard_grabbed = row.keyboard_grabbed,
                                         .wm_protocols = WM_PROTOCOLS,
                                         .wm_delete_window = WM_DELETE_WINDOW,
                                         .key_symbol = KeySymbolOf};
        const std::optional<SaverEvent> event = SaverEventFromX11(row.event, context);
        ASSERT_EQ(event.has_value(), row.input.has_value());
        if (!event) continue;
        EXPECT_EQ(event->input, *row.input);
        EXPECT_EQ(event->pointer.x, row.pointer.x);
        EXPECT_EQ(event->pointer.y, row.pointer.y);
    }
}
}  // namespace
