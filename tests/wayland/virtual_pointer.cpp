// The tests' pointer: sway offers no pointer device when it runs headless,
// but it takes one from a client over zwlr_virtual_pointer_manager_v1.
// Commands come one a line on standard input, and each is answered "ok"
// once the compositor has handled it (a round trip):
//   move DX DY          relative motion
//   to X Y W H          absolute position X, Y on a W x H layout
//   click BUTTON        press and release of an evdev button code
// The pointer lasts until standard input ends.
#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace {
struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    auto& globals = *static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals.seat == nullptr)
        globals.seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        globals.manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}
void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener REGISTRY = {.global = OnGlobal, .global_remove = OnGlobalRemove};

bool Run(zwlr_virtual_pointer_v1* pointer, const char* line)
{
    double dx = 0, dy = 0;
    unsigned x = 0, y = 0, width = 0, height = 0, button = 0;
    if (std::sscanf(line, "move %lf %lf", &dx, &dy) == 2) {
        zwlr_virtual_pointer_v1_motion(pointer, 0, wl_fixed_from_double(dx),
                                       wl_fixed_from_double(dy));
    } else if (std::sscanf(line, "to %u %u %u %u", &x, &y, &width, &height) == 4) {
        zwlr_virtual_pointer_v1_motion_absolute(pointer, 0, x, y, width, height);
    } else if (std::sscanf(line, "click %u", &button) == 1) {
        zwlr_virtual_pointer_v1_button(pointer, 0, button, WL_POINTER_BUTTON_STATE_PRESSED);
        zwlr_virtual_pointer_v1_frame(pointer);
        zwlr_virtual_pointer_v1_button(pointer, 0, button, WL_POINTER_BUTTON_STATE_RELEASED);
    } else {
        std::fprintf(stderr, "virtual_pointer: unknown command %s", line);
        return false;
    }
    zwlr_virtual_pointer_v1_frame(pointer);
    return true;
}
}  // namespace

int main()
{
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::perror("virtual_pointer: wl_display_connect");
        return 1;
    }
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &REGISTRY, &globals);
    wl_display_roundtrip(display);
    if (globals.manager == nullptr) {
        std::fputs("virtual_pointer: no zwlr_virtual_pointer_manager_v1\n", stderr);
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.manager, globals.seat);
    int code = 0;
    char line[128];
    while (code == 0 && std::fgets(line, sizeof line, stdin) != nullptr) {
        if (!Run(pointer, line) || wl_display_roundtrip(display) < 0) code = 1;
        std::puts(code == 0 ? "ok" : "failed");
        std::fflush(stdout);
    }
    // The compositor takes the pointer away with the connection.
    wl_display_disconnect(display);
    return code;
}
