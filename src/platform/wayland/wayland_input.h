// The seat's events as the saver's input events: the Wayland floor's share
// of the close rule. Plain values in, so that no compositor is needed to
// check them.
#pragma once

#include <cstdint>
#include <optional>

#include "framework/close_rule.h"

enum class WaylandInputKind {
    PointerEnter,   // the pointer came onto one of our surfaces
    PointerMotion,  // and moved over it
    Button,
    Key,
};

struct WaylandInput {
    WaylandInputKind kind;
    // Pointer only: where on the surface, and where that surface's output
    // stands in the compositor's space.
    double surface_x = 0, surface_y = 0;
    POINT origin = {0, 0};
    uint32_t code = 0;  // Button: the evdev button code; Key: the key code
    bool pressed = false;
};

// The event that `input` stands for, if any: a pointer position is made
// absolute, so that travel adds up across the outputs.
std::optional<SaverEvent> SaverEventFromWayland(const WaylandInput& input);

// Which of our surfaces holds the keyboard. Wayland says only that the focus
// left a surface, and as one of our surfaces takes the focus from another
// (a cover mapped beside the scene) the leave comes first: the focus counts
// as lost only when, after a batch of events, none of ours holds it, and
// only once one of ours had held it.
class KeyboardFocusWayland {
public:
    void Enter(const void* surface);
    void Leave(const void* surface);
    // The keyboard itself went from the seat: no one turned away.
    void Forget();
    bool Lost() const { return held_ && holder_ == nullptr; }

private:
    const void* holder_ = nullptr;
    bool held_ = false;
};
