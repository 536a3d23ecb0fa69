#include "platform/wayland/wayland_covers.h"

#include <algorithm>

namespace {
void DestroyCoverOn(WaylandCovers& covers, const wl_output* output)
{
    auto& list = covers.covers;
    for (auto& cover : list)
        if (cover->covered->output == output) DestroyToplevelWayland(*cover);
    list.erase(std::remove_if(list.begin(), list.end(),
                              [](const auto& cover) { return cover->surface == nullptr; }),
               list.end());
}

bool Covered(const WaylandCovers& covers, const wl_output* output)
{
    return std::any_of(covers.covers.begin(), covers.covers.end(),
                       [output](const auto& cover) { return cover->covered->output == output; });
}
}  // namespace

POINT WaylandCovers::OriginOf(const WaylandClient& client, const WaylandToplevel& scene,
                              const wl_surface* surface) const
{
    const wl_output* output = nullptr;
    if (surface == scene.surface)
        output = scene.shown_on != nullptr ? scene.shown_on : scene_output;
    for (const auto& cover : covers)
        if (cover->surface == surface) output = cover->covered->output;
    const WaylandOutput* found = output != nullptr ? client.Find(output) : nullptr;
    return found != nullptr ? POINT{found->x, found->y} : POINT{0, 0};
}

void ReconcileCoversWayland(WaylandCovers& covers, WaylandClient& client, WaylandToplevel& scene)
{
    // The compositor may move the scene (its output went, or the user moved
    // it): the output it shows on now is the scene's.
    if (scene.shown_on != nullptr) covers.scene_output = scene.shown_on;
    if (covers.scene_output == nullptr) return;
    DestroyCoverOn(covers, covers.scene_output);
    for (const auto& output : client.outputs) {
        if (!output->done || output->output == covers.scene_output) continue;
        if (!Covered(covers, output->output))
            covers.covers.push_back(CreateCoverWayland(client, *output));
    }
}

void OutputRemovedWayland(WaylandCovers& covers, WaylandClient& client, WaylandToplevel* scene,
                          const WaylandOutput& gone)
{
    DestroyCoverOn(covers, gone.output);
    if (scene == nullptr) return;
    if (scene->shown_on == gone.output) scene->shown_on = nullptr;
    if (covers.scene_output != gone.output) return;
    covers.scene_output = nullptr;
    for (const auto& output : client.outputs) {
        if (output->output == gone.output || !output->done) continue;
        covers.scene_output = output->output;
        DestroyCoverOn(covers, output->output);
        MoveToplevelWayland(*scene, output->output);
        return;
    }
}

void DestroyCoversWayland(WaylandCovers& covers)
{
    for (auto& cover : covers.covers) DestroyToplevelWayland(*cover);
    covers.covers.clear();
}
