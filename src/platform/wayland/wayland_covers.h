// Every output covered: the scene full screen on one, a black cover on each
// of the others, kept so as outputs come and go.
#pragma once

#include <memory>
#include <vector>

#include "platform/wayland/wayland_toplevel.h"
#include "platform/wintypes.h"

struct WaylandCovers {
    std::vector<std::unique_ptr<WaylandToplevel>> covers;
    // The scene's output: the one asked for, else the one it shows on once
    // the compositor has placed it. Until then no output is covered.
    wl_output* scene_output = nullptr;

    // Where the output of one of our surfaces stands; (0, 0) while unknown.
    POINT OriginOf(const WaylandClient& client, const WaylandToplevel& scene,
                   const wl_surface* surface) const;
};

// After each batch of events: a cover on every described output but the
// scene's, and none on the scene's.
void ReconcileCoversWayland(WaylandCovers& covers, WaylandClient& client, WaylandToplevel& scene);

// `gone` is about to go: so does its cover. When it held the scene, the
// scene moves to another output, whose cover gives way.
void OutputRemovedWayland(WaylandCovers& covers, WaylandClient& client, WaylandToplevel* scene,
                          const WaylandOutput& gone);

void DestroyCoversWayland(WaylandCovers& covers);
