// The Wayland host's one connection to the compositor: the globals it binds,
// and the outputs it announces, followed as they come and go.
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "xdg-shell-client-protocol.h"

// The call that failed, and what that means for the saver.
struct WaylandFailure {
    std::string call;
    std::string detail;
};

struct WaylandOutput {
    wl_output* output = nullptr;
    uint32_t global = 0;        // its name in the registry
    std::string name;           // the compositor's name for it ("DP-1"), from version 4 on
    int x = 0, y = 0;           // where it stands in the compositor's space
    int width = 0, height = 0;  // its current mode, in pixels
    int height_mm = 0;
    bool done = false;  // its first description is complete
};

struct WaylandClient {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    xdg_wm_base* wm_base = nullptr;
    wl_seat* seat = nullptr;
    std::vector<std::unique_ptr<WaylandOutput>> outputs;
    // Told of the seat as it is bound, so that none of its events is missed,
    // and of an output that goes, before its proxy does.
    std::function<void(wl_seat*)> seat_bound;
    std::function<void(WaylandOutput&)> output_removed;

    WaylandOutput* Find(const wl_output* output) const;
    WaylandOutput* Named(const std::string& name) const;
    // "HEADLESS-1, HEADLESS-2", for a message.
    std::string Names() const;
};

// Connects to $WAYLAND_DISPLAY and binds the globals, waiting until the
// outputs have described themselves. False, with *failure said, when there
// is no compositor or it lacks what the saver needs.
bool ConnectWayland(WaylandClient& client, WaylandFailure* failure);

// Destroys every proxy still held, then the connection.
void DisconnectWayland(WaylandClient& client);

// Why the connection broke, once libwayland reports an error on it.
WaylandFailure BrokenConnectionWayland(wl_display* display, const char* call);
