// The X11 host's pure parts: the order in which the queue hands messages
// out, what X input becomes, and the about box's dialog units.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/x11/dialog_layout.h"
#include "platform/x11/event_translation.h"
#include "platform/x11/message_queue.h"

namespace {
const HWND SAVER = HandleOfWindow(0x100);
const HWND CHILD = HandleOfWindow(0x200);
constexpr UINT WM_USER_TEST = 0x0401;

MSG Message(HWND window, UINT message, WPARAM wParam = 0)
{
    MSG m = {};
    m.hwnd = window;
    m.message = message;
    m.wParam = wParam;
    return m;
}

std::vector<UINT> Drain(MessageQueue& queue, int limit = 10)
{
    std::vector<UINT> order;
    MSG m;
    while (limit-- > 0 && queue.Take(&m)) {
        order.push_back(m.message);
        if (m.message == WM_PAINT) queue.Validate(m.hwnd);  // as BeginPaint does
    }
    return order;
}

TEST(MessageQueue, PostedBeforeInputBeforeQuitBeforePaint)
{
    MessageQueue queue;
    queue.Invalidate(CHILD);
    queue.PostQuit(3);
    queue.PushInput(Message(SAVER, WM_KEYDOWN));
    queue.Post(Message(SAVER, WM_CLOSE));
    const MSG expected[] = {Message(SAVER, WM_CLOSE), Message(SAVER, WM_KEYDOWN), Message(nullptr, WM_QUIT, 3),
                            Message(CHILD, WM_PAINT)};
    for (const MSG& e : expected) {
        MSG m;
        ASSERT_TRUE(queue.Take(&m));
        EXPECT_TRUE(m.message == e.message && m.hwnd == e.hwnd && m.wParam == e.wParam) << std::hex << e.message;
    }
}

TEST(MessageQueue, PaintRepeatsUntilValidatedAndAlternatesBetweenWindows)
{
    MessageQueue queue;
    queue.Invalidate(SAVER);
    queue.Invalidate(SAVER);  // one update region, not two paints
    MSG m;
    ASSERT_TRUE(queue.Take(&m));
    ASSERT_TRUE(queue.Take(&m));  // not validated: still due
    EXPECT_EQ(m.hwnd, SAVER);
    queue.Invalidate(CHILD);
    queue.Validate(SAVER);
    queue.Invalidate(SAVER);  // a frame invalidates itself again at its end
    ASSERT_TRUE(queue.Take(&m));
    EXPECT_EQ(m.hwnd, CHILD);
    EXPECT_EQ(Drain(queue), (std::vector<UINT>{WM_PAINT, WM_PAINT}));
    EXPECT_FALSE(queue.Take(&m));
}

TEST(MessageQueue, ForgottenWindowLosesItsMessagesAndPaints)
{
    MessageQueue queue;
    queue.Post(Message(CHILD, WM_CLOSE));
    queue.Post(Message(SAVER, WM_USER_TEST));
    queue.PushInput(Message(CHILD, WM_MOUSEMOVE));
    queue.Invalidate(CHILD);
    queue.Forget(CHILD);
    EXPECT_EQ(Drain(queue), (std::vector<UINT>{WM_USER_TEST}));
}

TEST(MessageQueue, PeekFindsTimersOfOneWindowAndRemovesOnlyWhenAsked)
{
    MessageQueue queue;
    queue.Post(Message(SAVER, WM_TIMER, 1));
    queue.Post(Message(CHILD, WM_TIMER, 2));
    queue.PushInput(Message(CHILD, WM_TIMER, 3));
    MSG m;
    ASSERT_TRUE(queue.Peek(&m, CHILD, WM_TIMER, WM_TIMER, false));
    EXPECT_EQ(m.wParam, WPARAM(2));
    ASSERT_TRUE(queue.Peek(&m, CHILD, WM_TIMER, WM_TIMER, true));
    ASSERT_TRUE(queue.Peek(&m, CHILD, WM_TIMER, WM_TIMER, true));
    EXPECT_EQ(m.wParam, WPARAM(3));
    EXPECT_FALSE(queue.Peek(&m, CHILD, WM_TIMER, WM_TIMER, true));
    EXPECT_FALSE(queue.Peek(&m, SAVER, WM_KEYDOWN, WM_KEYDOWN, true));
    ASSERT_TRUE(queue.Peek(&m, nullptr, 0, 0, true));
    EXPECT_EQ(m.wParam, WPARAM(1));
}

bool EqualRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool OursOnly(Window window) { return window == 0x100 || window == 0x200; }

struct TranslationCase {
    const char* name;
    XEvent event;
    KeySym symbol;
    std::vector<UINT> messages;
    WPARAM last_wparam;
    LPARAM last_lparam;
};

// Events in Xlib's field order: type, serial, send_event, display, window,
// then for input root, subwindow, time, x, y, x_root, y_root, state, detail
// (key code or button), same_screen; for focus mode and detail.
XEvent Key(unsigned state)
{
    XEvent e = {};
    e.xkey = {KeyPress, 0, False, nullptr, 0x100, 0, 0, 0, 0, 0, 0, 0, state, 38, False};
    return e;
}

XEvent Button(unsigned button, int x, int y, Window window = 0x200)
{
    XEvent e = {};
    e.xbutton = {ButtonPress, 0, False, nullptr, window, 0, 0, 0, x, y, x + 1000, y + 2000, 0, button, False};
    return e;
}

XEvent Motion(int x, int y, unsigned state)
{
    XEvent e = {};
    e.xmotion = {MotionNotify, 0, False, nullptr, 0x200, 0, 0, 0, x, y, 0, 0, state, 0, False};
    return e;
}

XEvent Focus(int mode, int detail)
{
    XEvent e = {};
    e.xfocus = {FocusOut, 0, False, nullptr, 0x100, mode, detail};
    return e;
}

TEST(EventTranslation, InputBecomesTheMessagesWindowsSends)
{
    const std::vector<TranslationCase> cases = {
        {"key", Key(0), XK_a, {WM_KEYDOWN}, 'A', LPARAM(1 | (38 << 16))},
        {"Alt key", Key(Mod1Mask), XK_x, {WM_SYSKEYDOWN}, 'X', LPARAM(1 | (38 << 16) | (1 << 29))},
        {"F10", Key(0), XK_F10, {WM_SYSKEYDOWN}, VK_F1 + 9, LPARAM(1 | (38 << 16))},
        {"Escape", Key(0), XK_Escape, {WM_KEYDOWN}, VK_ESCAPE, LPARAM(1 | (38 << 16))},
        {"left", Button(1, 3, 4), 0, {WM_SETCURSOR, WM_LBUTTONDOWN}, 0, MAKELPARAM(3, 4)},
        {"middle", Button(2, 3, 4), 0, {WM_SETCURSOR, WM_MBUTTONDOWN}, 0, MAKELPARAM(3, 4)},
        {"right", Button(3, -2, 4), 0, {WM_SETCURSOR, WM_RBUTTONDOWN}, 0, MAKELPARAM(WORD(-2), 4)},
        // The wheel turns rather than presses, in screen coordinates.
        {"wheel up", Button(4, 3, 4), 0, {WM_SETCURSOR, WM_MOUSEWHEEL}, MAKEWPARAM(0, 120), MAKELPARAM(1003, 2004)},
        {"wheel down", Button(5, 3, 4), 0, {WM_SETCURSOR, WM_MOUSEWHEEL}, MAKEWPARAM(0, WORD(-120)),
         MAKELPARAM(1003, 2004)},
        {"back", Button(8, 3, 4), 0, {WM_SETCURSOR, WM_XBUTTONDOWN}, MAKEWPARAM(0, XBUTTON1), MAKELPARAM(3, 4)},
        {"motion", Motion(7, 9, Button1Mask | ShiftMask), 0, {WM_SETCURSOR, WM_MOUSEMOVE}, MK_LBUTTON | MK_SHIFT,
         MAKELPARAM(7, 9)},
        {"focus to another window", Focus(NotifyNormal, NotifyNonlinear), 0, {WM_ACTIVATEAPP}, 0, 0},
        {"focus taken while grabbed", Focus(NotifyWhileGrabbed, NotifyAncestor), 0, {WM_ACTIVATEAPP}, 0, 0},
        {"focus to the root", Focus(NotifyNormal, NotifyPointerRoot), 0, {WM_ACTIVATEAPP}, 0, 0},
        {"our own keyboard grab", Focus(NotifyGrab, NotifyNonlinear), 0, {}, 0, 0},
        {"grab released", Focus(NotifyUngrab, NotifyNonlinear), 0, {}, 0, 0},
        {"focus to our child", Focus(NotifyNormal, NotifyInferior), 0, {}, 0, 0},
        {"another program's window", Button(1, 3, 4, 0x999), 0, {}, 0, 0},
    };
    for (const TranslationCase& c : cases) {
        std::vector<WindowAction> out;
        TranslateEvent(c.event, OursOnly, c.symbol, out);
        std::vector<UINT> messages;
        for (const WindowAction& action : out) {
            ASSERT_EQ(action.kind, WindowAction::Message) << c.name;
            messages.push_back(action.message.message);
        }
        EXPECT_EQ(messages, c.messages) << c.name;
        if (out.empty()) continue;
        EXPECT_EQ(out.back().message.wParam, c.last_wparam) << c.name;
        EXPECT_EQ(out.back().message.lParam, c.last_lparam) << c.name;
        EXPECT_EQ(out.back().message.hwnd, HandleOfWindow(c.event.xany.window)) << c.name;
        // Windows asks the window under the cursor for its shape first.
        if (out.size() == 2) {
            EXPECT_EQ(HIWORD(out[0].message.lParam), c.messages[1]) << c.name;
        }
    }
}

TEST(EventTranslation, DestructionIsReportedForAnyWindowAndSizeForOurs)
{
    XEvent destroyed = {};
    destroyed.xdestroywindow.type = DestroyNotify;
    destroyed.xdestroywindow.event = 0x999;
    destroyed.xdestroywindow.window = 0x999;  // a preview host
    XEvent configured = {};
    configured.xconfigure.type = ConfigureNotify;
    configured.xconfigure.event = 0x100;
    configured.xconfigure.window = 0x100;
    configured.xconfigure.width = 640;
    configured.xconfigure.height = 480;
    std::vector<WindowAction> out;
    TranslateEvent(destroyed, OursOnly, 0, out);
    TranslateEvent(configured, OursOnly, 0, out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].kind, WindowAction::Destroyed);
    EXPECT_EQ(out[0].message.hwnd, HandleOfWindow(0x999));
    EXPECT_EQ(out[1].kind, WindowAction::Resize);
    EXPECT_EQ(out[1].message.lParam, MAKELPARAM(640, 480));
}

TEST(DialogLayout, RectanglesScaleWithTheFontAsWindowsRoundsThem)
{
    struct Case {
        int alphabet_width, height;
        DialogBaseUnits base;
        RECT box, ok;
    };
    // The familiar 6 x 13 units of a small dialog font, a slightly wider
    // face, and a large font; the rounding differs in each.
    const Case cases[] = {
        {299, 13, {6, 13}, {0, 0, 272, 315}, {98, 280, 75, 23}},
        {345, 13, {7, 13}, {0, 0, 317, 315}, {114, 280, 88, 23}},
        {520, 19, {10, 19}, {0, 0, 453, 461}, {163, 409, 125, 33}},
    };
    for (const Case& c : cases) {
        const DialogBaseUnits base = BaseUnitsOf(c.alphabet_width, c.height);
        EXPECT_EQ(base.x, c.base.x) << c.alphabet_width;
        EXPECT_EQ(base.y, c.base.y) << c.alphabet_width;
        const RECT box = DialogUnitsToPixels(ABOUT_BOX_UNITS, base);
        const RECT ok = DialogUnitsToPixels(OK_BUTTON_UNITS, base);
        EXPECT_TRUE(EqualRect(box, c.box) && EqualRect(ok, c.ok)) << c.alphabet_width;
    }
}
}  // namespace
