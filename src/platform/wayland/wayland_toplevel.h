// The Wayland host's windows: full-screen toplevels, one that the scene is
// drawn into and one black cover on each other output. A cover paints itself
// on every configure, so that it needs nothing more from the loop.
#pragma once

#include <memory>

#include "platform/wayland/wayland_client.h"

struct WaylandToplevel {
    wl_surface* surface = nullptr;
    xdg_surface* shell_surface = nullptr;
    xdg_toplevel* toplevel = nullptr;
    // The size last configured; 0 leaves it to us (the output's size).
    int width = 0, height = 0;
    bool configured = false;        // at least once
    bool resized = false;           // configured to another size since the flag was cleared
    bool closed = false;            // the compositor asked us to close
    wl_output* shown_on = nullptr;  // the output it last entered

    // Covers only: the output covered, and the black buffer shown there.
    WaylandOutput* covered = nullptr;
    wl_shm* shm = nullptr;
    wl_buffer* buffer = nullptr;

    // Set by the toplevel's configure and cleared by the shell surface's.
    int pending_width = 0, pending_height = 0;
};

// Full screen on `output`, or where the compositor likes when it is null.
// The first commit, without a buffer, asks for the first configure.
std::unique_ptr<WaylandToplevel> CreateToplevelWayland(WaylandClient& client, wl_output* output);
// A toplevel full screen on `output` that shows black there.
std::unique_ptr<WaylandToplevel> CreateCoverWayland(WaylandClient& client, WaylandOutput& output);

// Asks the compositor to show the toplevel full screen on another output.
void MoveToplevelWayland(WaylandToplevel& toplevel, wl_output* output);

void DestroyToplevelWayland(WaylandToplevel& toplevel);
