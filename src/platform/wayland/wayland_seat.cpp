#include "platform/wayland/wayland_seat.h"

#include <unistd.h>

#include "utility/diagnostics.h"

namespace {
WaylandSeat& SeatOf(void* data) { return *static_cast<WaylandSeat*>(data); }

void Add(WaylandSeat& seat, const WaylandInput& input)
{
    const std::optional<SaverEvent> event = SaverEventFromWayland(input);
    if (event) seat.events.push_back(*event);
}

void AddPointerAt(WaylandSeat& seat, WaylandInputKind kind, wl_fixed_t x, wl_fixed_t y)
{
    const POINT origin = seat.origin_of && seat.pointer_surface != nullptr
                             ? seat.origin_of(seat.pointer_surface)
                             : POINT{0, 0};
    Add(seat, {.kind = kind,
               .surface_x = wl_fixed_to_double(x),
               .surface_y = wl_fixed_to_double(y),
               .origin = origin});
}

void OnPointerEnter(void* data, wl_pointer* pointer, uint32_t serial, wl_surface* surface,
                    wl_fixed_t x, wl_fixed_t y)
{
    // No cursor surface: the pointer is hidden over ours.
    wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
    SeatOf(data).pointer_surface = surface;
    AddPointerAt(SeatOf(data), WaylandInputKind::PointerEnter, x, y);
    Trace("Pointer entered at %.1f,%.1f\n", wl_fixed_to_double(x), wl_fixed_to_double(y));
}

void OnPointerLeave(void* data, wl_pointer*, uint32_t, wl_surface* surface)
{
    if (SeatOf(data).pointer_surface == surface) SeatOf(data).pointer_surface = nullptr;
}

void OnMotion(void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y)
{
    AddPointerAt(SeatOf(data), WaylandInputKind::PointerMotion, x, y);
}

void OnButton(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state)
{
    Add(SeatOf(data), {.kind = WaylandInputKind::Button,
                       .code = button,
                       .pressed = state == WL_POINTER_BUTTON_STATE_PRESSED});
}

void OnAxis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}
void OnFrame(void*, wl_pointer*) {}
void OnAxisSource(void*, wl_pointer*, uint32_t) {}
void OnAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void OnAxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}
void OnAxisValue120(void*, wl_pointer*, uint32_t, int32_t) {}

// Every event needs its slot, even those of later seats than the one bound.
const wl_pointer_listener POINTER_LISTENER = {
    .enter = OnPointerEnter,
    .leave = OnPointerLeave,
    .motion = OnMotion,
    .button = OnButton,
    .axis = OnAxis,
    .frame = OnFrame,
    .axis_source = OnAxisSource,
    .axis_stop = OnAxisStop,
    .axis_discrete = OnAxisDiscrete,
    .axis_value120 = OnAxisValue120,
};

// The key map is of no use to a saver that ends on any key; its descriptor
// is ours to close.
void OnKeymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) { close(fd); }

// Keys already down as the focus arrives (the one that started us by hand)
// are not pressed now.
void OnKeyboardEnter(void* data, wl_keyboard*, uint32_t, wl_surface* surface, wl_array*)
{
    SeatOf(data).focus.Enter(surface);
    Trace("Keyboard entered\n");
}

void OnKeyboardLeave(void* data, wl_keyboard*, uint32_t, wl_surface* surface)
{
    SeatOf(data).focus.Leave(surface);
}

void OnKey(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state)
{
    Add(SeatOf(data), {.kind = WaylandInputKind::Key,
                       .code = key,
                       .pressed = state == WL_KEYBOARD_KEY_STATE_PRESSED});
}

void OnModifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
void OnRepeatInfo(void*, wl_keyboard*, int32_t, int32_t) {}

const wl_keyboard_listener KEYBOARD_LISTENER = {
    .keymap = OnKeymap,
    .enter = OnKeyboardEnter,
    .leave = OnKeyboardLeave,
    .key = OnKey,
    .modifiers = OnModifiers,
    .repeat_info = OnRepeatInfo,
};

void ReleasePointer(WaylandSeat& seat)
{
    if (seat.pointer == nullptr) return;
    if (wl_pointer_get_version(seat.pointer) >= WL_POINTER_RELEASE_SINCE_VERSION)
        wl_pointer_release(seat.pointer);
    else
        wl_pointer_destroy(seat.pointer);
    seat.pointer = nullptr;
    seat.pointer_surface = nullptr;
}

void ReleaseKeyboard(WaylandSeat& seat)
{
    if (seat.keyboard == nullptr) return;
    if (wl_keyboard_get_version(seat.keyboard) >= WL_KEYBOARD_RELEASE_SINCE_VERSION)
        wl_keyboard_release(seat.keyboard);
    else
        wl_keyboard_destroy(seat.keyboard);
    seat.keyboard = nullptr;
    seat.focus.Forget();
}

void OnCapabilities(void* data, wl_seat* proxy, uint32_t capabilities)
{
    WaylandSeat& seat = SeatOf(data);
    const bool pointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
    const bool keyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    if (pointer && seat.pointer == nullptr) {
        seat.pointer = wl_seat_get_pointer(proxy);
        wl_pointer_add_listener(seat.pointer, &POINTER_LISTENER, &seat);
    } else if (!pointer) {
        ReleasePointer(seat);
    }
    if (keyboard && seat.keyboard == nullptr) {
        seat.keyboard = wl_seat_get_keyboard(proxy);
        wl_keyboard_add_listener(seat.keyboard, &KEYBOARD_LISTENER, &seat);
    } else if (!keyboard) {
        ReleaseKeyboard(seat);
    }
}

void OnSeatName(void*, wl_seat*, const char*) {}

const wl_seat_listener SEAT_LISTENER = {.capabilities = OnCapabilities, .name = OnSeatName};
}  // namespace

void AttachSeatWayland(WaylandSeat& seat, wl_seat* proxy)
{
    seat.seat = proxy;
    wl_seat_add_listener(proxy, &SEAT_LISTENER, &seat);
}

void DetachSeatWayland(WaylandSeat& seat)
{
    ReleasePointer(seat);
    ReleaseKeyboard(seat);
}
