#include "platform/wayland/wayland_client.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {
// What each global is bound at: the oldest version that has what we use
// (the output's name needs 4; the seat's release needs 5).
constexpr uint32_t COMPOSITOR_VERSION = 4;
constexpr uint32_t OUTPUT_VERSION = 4;
constexpr uint32_t SEAT_VERSION = 5;

template <typename Proxy>
Proxy* Bind(wl_registry* registry, uint32_t name, const wl_interface* interface, uint32_t offered,
            uint32_t wanted)
{
    return static_cast<Proxy*>(
        wl_registry_bind(registry, name, interface, std::min(offered, wanted)));
}

void OnGeometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t height_mm, int32_t,
                const char*, const char*, int32_t)
{
    auto* output = static_cast<WaylandOutput*>(data);
    output->x = x;
    output->y = y;
    output->height_mm = height_mm;
}

void OnMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t)
{
    if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
    auto* output = static_cast<WaylandOutput*>(data);
    output->width = width;
    output->height = height;
}

void OnDone(void* data, wl_output*) { static_cast<WaylandOutput*>(data)->done = true; }
void OnScale(void*, wl_output*, int32_t) {}
void OnName(void* data, wl_output*, const char* name)
{
    static_cast<WaylandOutput*>(data)->name = name;
}
void OnDescription(void*, wl_output*, const char*) {}

const wl_output_listener OUTPUT_LISTENER = {
    .geometry = OnGeometry,
    .mode = OnMode,
    .done = OnDone,
    .scale = OnScale,
    .name = OnName,
    .description = OnDescription,
};

void OnPing(void*, xdg_wm_base* wm_base, uint32_t serial) { xdg_wm_base_pong(wm_base, serial); }
const xdg_wm_base_listener WM_BASE_LISTENER = {.ping = OnPing};

void ReleaseOutput(WaylandOutput& output)
{
    if (wl_output_get_version(output.output) >= WL_OUTPUT_RELEASE_SINCE_VERSION)
        wl_output_release(output.output);
    else
        wl_output_destroy(output.output);
}

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
              uint32_t version)
{
    auto& client = *static_cast<WaylandClient*>(data);
    const std::string kind = interface;
    if (kind == wl_compositor_interface.name && client.compositor == nullptr) {
        client.compositor = Bind<wl_compositor>(registry, name, &wl_compositor_interface, version,
                                                COMPOSITOR_VERSION);
    } else if (kind == wl_shm_interface.name && client.shm == nullptr) {
        client.shm = Bind<wl_shm>(registry, name, &wl_shm_interface, version, 1);
    } else if (kind == xdg_wm_base_interface.name && client.wm_base == nullptr) {
        client.wm_base = Bind<xdg_wm_base>(registry, name, &xdg_wm_base_interface, version, 1);
        xdg_wm_base_add_listener(client.wm_base, &WM_BASE_LISTENER, nullptr);
    } else if (kind == wl_seat_interface.name && client.seat == nullptr) {
        // One seat is the user in front of the screen; a second is rare and
        // would only add ways to end the saver.
        client.seat = Bind<wl_seat>(registry, name, &wl_seat_interface, version, SEAT_VERSION);
        if (client.seat_bound) client.seat_bound(client.seat);
    } else if (kind == wl_output_interface.name) {
        auto output = std::make_unique<WaylandOutput>();
        output->global = name;
        output->output =
            Bind<wl_output>(registry, name, &wl_output_interface, version, OUTPUT_VERSION);
        wl_output_add_listener(output->output, &OUTPUT_LISTENER, output.get());
        client.outputs.push_back(std::move(output));
    }
}

void OnGlobalRemove(void* data, wl_registry*, uint32_t name)
{
    auto& client = *static_cast<WaylandClient*>(data);
    auto& outputs = client.outputs;
    const auto gone = std::find_if(outputs.begin(), outputs.end(),
                                   [name](const auto& output) { return output->global == name; });
    if (gone == outputs.end()) return;
    if (client.output_removed) client.output_removed(**gone);
    ReleaseOutput(**gone);
    outputs.erase(gone);
}

const wl_registry_listener REGISTRY_LISTENER = {
    .global = OnGlobal,
    .global_remove = OnGlobalRemove,
};
}  // namespace

WaylandOutput* WaylandClient::Find(const wl_output* output) const
{
    for (const auto& candidate : outputs)
        if (candidate->output == output) return candidate.get();
    return nullptr;
}

WaylandOutput* WaylandClient::Named(const std::string& name) const
{
    for (const auto& candidate : outputs)
        if (candidate->name == name) return candidate.get();
    return nullptr;
}

std::string WaylandClient::Names() const
{
    std::string names;
    for (const auto& output : outputs)
        names += (names.empty() ? "" : ", ") + (output->name.empty() ? "?" : output->name);
    return names.empty() ? "none" : names;
}

bool ConnectWayland(WaylandClient& client, WaylandFailure* failure)
{
    client.display = wl_display_connect(nullptr);
    if (client.display == nullptr) {
        const char* name = std::getenv("WAYLAND_DISPLAY");
        *failure = {"wl_display_connect", std::string("cannot reach the compositor \"") +
                                              (name != nullptr ? name : "wayland-0") +
                                              "\": " + std::strerror(errno)};
        return false;
    }
    client.registry = wl_display_get_registry(client.display);
    wl_registry_add_listener(client.registry, &REGISTRY_LISTENER, &client);
    // The first round trip announces the globals, the second the outputs'
    // descriptions.
    for (int round = 0; round < 2; ++round) {
        if (wl_display_roundtrip(client.display) < 0) {
            *failure = BrokenConnectionWayland(client.display, "wl_display_roundtrip");
            return false;
        }
    }
    const char* missing = client.compositor == nullptr ? "wl_compositor"
                          : client.wm_base == nullptr  ? "xdg_wm_base"
                          : client.shm == nullptr      ? "wl_shm"
                                                       : nullptr;
    if (missing == nullptr) return true;
    *failure = {"wl_registry_bind", std::string("the compositor offers no ") + missing};
    return false;
}

void DisconnectWayland(WaylandClient& client)
{
    if (client.display == nullptr) return;
    for (auto& output : client.outputs) ReleaseOutput(*output);
    client.outputs.clear();
    if (client.seat != nullptr) {
        if (wl_seat_get_version(client.seat) >= WL_SEAT_RELEASE_SINCE_VERSION)
            wl_seat_release(client.seat);
        else
            wl_seat_destroy(client.seat);
    }
    if (client.wm_base != nullptr) xdg_wm_base_destroy(client.wm_base);
    if (client.shm != nullptr) wl_shm_destroy(client.shm);
    if (client.compositor != nullptr) wl_compositor_destroy(client.compositor);
    if (client.registry != nullptr) wl_registry_destroy(client.registry);
    wl_display_flush(client.display);
    wl_display_disconnect(client.display);
    client = WaylandClient();
}

WaylandFailure BrokenConnectionWayland(wl_display* display, const char* call)
{
    const int error = wl_display_get_error(display);
    const wl_interface* interface = nullptr;
    uint32_t id = 0;
    if (error == EPROTO) {
        const uint32_t code = wl_display_get_protocol_error(display, &interface, &id);
        return {call, std::string("the compositor reported protocol error ") +
                          std::to_string(code) + " on " +
                          (interface != nullptr ? interface->name : "an unknown object")};
    }
    if (error == EPIPE || error == ECONNRESET || error == 0)
        return {call, "the compositor closed the connection"};
    return {call, std::string("the connection to the compositor failed: ") + std::strerror(error)};
}
