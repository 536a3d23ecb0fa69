// The seat's pointer and keyboard, as the seat offers them: each event of
// theirs is turned into the saver's input events, kept for the loop to take.
// The pointer is hidden over every surface of ours.
#pragma once

#include <functional>
#include <vector>

#include "platform/wayland/wayland_client.h"
#include "platform/wayland/wayland_input.h"

struct WaylandSeat {
    wl_seat* seat = nullptr;
    wl_pointer* pointer = nullptr;
    wl_keyboard* keyboard = nullptr;
    wl_surface* pointer_surface = nullptr;  // the surface the pointer is over
    // Where the output of one of our surfaces stands in the compositor's space.
    std::function<POINT(wl_surface*)> origin_of;
    KeyboardFocusWayland focus;
    std::vector<SaverEvent> events;  // since the loop last took them
};

// Follows the seat's capabilities from now on; the seat must outlive it.
void AttachSeatWayland(WaylandSeat& seat, wl_seat* proxy);
// Lets go of the pointer and the keyboard.
void DetachSeatWayland(WaylandSeat& seat);
