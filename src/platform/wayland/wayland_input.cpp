#include "platform/wayland/wayland_input.h"

#include <linux/input-event-codes.h>

#include <cmath>

namespace {
// As on Windows and X11, only the three main buttons count as a click; the
// side buttons go back and forth.
bool IsMainButton(uint32_t code)
{
    return code == BTN_LEFT || code == BTN_RIGHT || code == BTN_MIDDLE;
}

// The pixel under the pointer: floor, so that a move across a pixel's
// border counts as one pixel whichever side of zero it is on.
LONG PixelOf(double surface, LONG origin) { return origin + LONG(std::floor(surface)); }
}  // namespace

std::optional<SaverEvent> SaverEventFromWayland(const WaylandInput& input)
{
    switch (input.kind) {
    case WaylandInputKind::PointerEnter:
    case WaylandInputKind::PointerMotion:
        return SaverEvent{.input = SaverInput::PointerAt,
                          .pointer = {PixelOf(input.surface_x, input.origin.x),
                                      PixelOf(input.surface_y, input.origin.y)}};
    case WaylandInputKind::Button:
        if (input.pressed && IsMainButton(input.code))
            return SaverEvent{.input = SaverInput::ButtonDown};
        break;
    case WaylandInputKind::Key:
        if (input.pressed) return SaverEvent{.input = SaverInput::KeyDown};
        break;
    }
    return std::nullopt;
}

void KeyboardFocusWayland::Enter(const void* surface)
{
    holder_ = surface;
    held_ = held_ || surface != nullptr;
}

void KeyboardFocusWayland::Leave(const void* surface)
{
    if (surface == holder_) holder_ = nullptr;
}

void KeyboardFocusWayland::Forget() { *this = KeyboardFocusWayland(); }
