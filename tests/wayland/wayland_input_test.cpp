// The seat's events as the saver's input events, and who holds the
// keyboard; no compositor is needed to make them.
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include "platform/wayland/wayland_input.h"

namespace {
using Kind = WaylandInputKind;

WaylandInput Pointer(Kind kind, double x, double y, POINT origin = {0, 0})
{
    return {.kind = kind, .surface_x = x, .surface_y = y, .origin = origin};
}

WaylandInput Press(Kind kind, uint32_t code, bool pressed = true)
{
    return {.kind = kind, .code = code, .pressed = pressed};
}

struct InputCase {
    const char* name;
    WaylandInput input;
    std::optional<SaverInput> event;  // none: no input event
    POINT pointer = {0, 0};           // PointerAt only
};

const InputCase INPUT_CASES[] = {
    {"key_press", Press(Kind::Key, KEY_A), SaverInput::KeyDown},
    {"key_release", Press(Kind::Key, KEY_A, false), std::nullopt},
    {"left_button", Press(Kind::Button, BTN_LEFT), SaverInput::ButtonDown},
    {"right_button", Press(Kind::Button, BTN_RIGHT), SaverInput::ButtonDown},
    {"middle_button", Press(Kind::Button, BTN_MIDDLE), SaverInput::ButtonDown},
    {"button_release", Press(Kind::Button, BTN_LEFT, false), std::nullopt},
    {"side_button", Press(Kind::Button, BTN_SIDE), std::nullopt},
    {"extra_button", Press(Kind::Button, BTN_EXTRA), std::nullopt},
    {"enter", Pointer(Kind::PointerEnter, 300, 200), SaverInput::PointerAt, {300, 200}},
    {"motion_in_a_pixel",
     Pointer(Kind::PointerMotion, 300.75, 200.5),
     SaverInput::PointerAt,
     {300, 200}},
    {"motion_left_of_zero", Pointer(Kind::PointerMotion, -0.25, 0), SaverInput::PointerAt, {-1, 0}},
    {"on_a_second_output",
     Pointer(Kind::PointerMotion, 10, 20, {1920, 0}),
     SaverInput::PointerAt,
     {1930, 20}},
    {"on_an_output_above",
     Pointer(Kind::PointerEnter, 5, 5, {0, -1080}),
     SaverInput::PointerAt,
     {5, -1075}},
};

TEST(WaylandInput, TranslatesTheSeatsEvents)
{
    for (const InputCase& row : INPUT_CASES) {
        SCOPED_TRACE(row.name);
        const std::optional<SaverEvent> event = SaverEventFromWayland(row.input);
        ASSERT_EQ(event.has_value(), row.event.has_value());
        if (!event) continue;
        EXPECT_EQ(event->input, *row.event);
        if (event->input != SaverInput::PointerAt) continue;
        EXPECT_EQ(event->pointer.x, row.pointer.x);
        EXPECT_EQ(event->pointer.y, row.pointer.y);
    }
}

// Steps: 'S' and 'C' enter the scene and a cover, 's' and 'c' leave them,
// 'G' the keyboard goes from the seat.
struct FocusCase {
    const char* name;
    const char* steps;
    bool lost;
};

const FocusCase FOCUS_CASES[] = {
    {"never_had_it", "", false},
    {"holds_it", "S", false},
    {"left_us", "Ss", true},
    {"moved_to_a_cover", "SsC", false},
    {"left_the_cover", "SsCc", true},
    {"a_stale_leave", "SCs", false},
    {"came_back", "SsS", false},
    {"keyboard_went", "SG", false},
    {"keyboard_went_after_a_leave", "SsG", false},
    {"returns_after_the_keyboard", "SGSs", true},
};

TEST(WaylandInput, FocusIsLostOnlyWhenNoneOfOursHoldsIt)
{
    int scene = 0, cover = 0;
    for (const FocusCase& row : FOCUS_CASES) {
        SCOPED_TRACE(row.name);
        KeyboardFocusWayland focus;
        for (const char* step = row.steps; *step != '\0'; ++step) {
            const void* surface = *step == 'S' || *step == 's' ? &scene : &cover;
            if (*step == 'G')
                focus.Forget();
            else if (*step == 'S' || *step == 'C')
                focus.Enter(surface);
            else
                focus.Leave(surface);
        }
        EXPECT_EQ(focus.Lost(), row.lost);
    }
}
}  // namespace
