// The seat's events as the saver's input events; no compositor is needed to
// make them.
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include "platform/wayland/wayland_input.h"

namespace {
using Kind = WaylandInputKind;
constexpr bool PRESSED = true, RELEASED = false;
constexpr std::nullopt_t NO_INPUT = std::nullopt;
constexpr SaverInput AT = SaverInput::PointerAt;
constexpr POINT FIRST_OUTPUT = {0, 0}, SECOND_OUTPUT = {1920, 0}, OUTPUT_ABOVE = {0, -1080};

WaylandInput Pointer(Kind kind, double x, double y, POINT origin)
{
    return {.kind = kind, .surface_x = x, .surface_y = y, .origin = origin};
}

WaylandInput Key(bool pressed) { return {.kind = Kind::Key, .code = KEY_A, .pressed = pressed}; }

WaylandInput Button(uint32_t code, bool pressed)
{
    return {.kind = Kind::Button, .code = code, .pressed = pressed};
}

struct InputRow {
    const char* name;
    WaylandInput input;
    std::optional<SaverInput> event;  // none: no input event
    POINT pointer = {0, 0};           // PointerAt only
};

const InputRow INPUT_ROWS[] = {
    {"key_press", Key(PRESSED), SaverInput::KeyDown},
    {"key_release", Key(RELEASED), NO_INPUT},
    {"left_button", Button(BTN_LEFT, PRESSED), SaverInput::ButtonDown},
    {"right_button", Button(BTN_RIGHT, PRESSED), SaverInput::ButtonDown},
    {"middle_button", Button(BTN_MIDDLE, PRESSED), SaverInput::ButtonDown},
    {"button_release", Button(BTN_LEFT, RELEASED), NO_INPUT},
    {"side_button", Button(BTN_SIDE, PRESSED), NO_INPUT},
    // The pixel under the pointer, whichever side of zero.
    {"in_a_pixel", Pointer(Kind::PointerMotion, 300.75, 200.5, FIRST_OUTPUT), AT, {300, 200}},
    {"left_of_zero", Pointer(Kind::PointerMotion, -0.25, 0, FIRST_OUTPUT), AT, {-1, 0}},
    {"second_output", Pointer(Kind::PointerMotion, 10, 20, SECOND_OUTPUT), AT, {1930, 20}},
    {"output_above", Pointer(Kind::PointerEnter, 5, 5, OUTPUT_ABOVE), AT, {5, -1075}},
};

TEST(WaylandInput, TranslatesTheSeatsEvents)
{
    for (const InputRow& row : INPUT_ROWS) {
        SCOPED_TRACE(row.name);
        const std::optional<SaverEvent> event = SaverEventFromWayland(row.input);
        ASSERT_EQ(event.has_value(), row.event.has_value());
        if (!event) continue;
        EXPECT_EQ(event->input, *row.event);
        EXPECT_EQ(event->pointer.x, row.pointer.x);
        EXPECT_EQ(event->pointer.y, row.pointer.y);
    }
}

}  // namespace
