#include "platform/wayland/wayland_toplevel.h"

#include <sys/mman.h>
#include <unistd.h>

#include "saver_identity.h"

namespace {
constexpr char APP_ID[] = "lumenfall";
constexpr int BYTES_PER_PIXEL = 4;

// A memfd reads as zeros until written, and zero is black in XRGB8888, so
// the pixels are never touched here: the pages stay unallocated until the
// compositor reads them.
wl_buffer* BlackBuffer(wl_shm* shm, int width, int height)
{
    const int stride = width * BYTES_PER_PIXEL;
    const off_t size = off_t(stride) * height;
    const int fd = memfd_create("lumenfall-cover", MFD_CLOEXEC);
    if (fd < 0) return nullptr;
    wl_buffer* buffer = nullptr;
    if (ftruncate(fd, size) == 0) {
        wl_shm_pool* pool = wl_shm_create_pool(shm, fd, int32_t(size));
        buffer = wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_XRGB8888);
        wl_shm_pool_destroy(pool);
    }
    close(fd);
    return buffer;
}

void PaintBlack(WaylandToplevel& cover)
{
    const int width = cover.width > 0 ? cover.width : cover.covered->width;
    const int height = cover.height > 0 ? cover.height : cover.covered->height;
    if (width <= 0 || height <= 0) return;
    wl_buffer* buffer = BlackBuffer(cover.shm, width, height);
    if (buffer == nullptr) return;
    wl_surface_attach(cover.surface, buffer, 0, 0);
    wl_surface_damage(cover.surface, 0, 0, width, height);
    wl_surface_commit(cover.surface);
    // The compositor holds what was committed; the old buffer is no longer shown.
    if (cover.buffer != nullptr) wl_buffer_destroy(cover.buffer);
    cover.buffer = buffer;
}

void OnShellConfigure(void* data, xdg_surface* shell_surface, uint32_t serial)
{
    auto& toplevel = *static_cast<WaylandToplevel*>(data);
    xdg_surface_ack_configure(shell_surface, serial);
    const bool first = !toplevel.configured;
    if (first || toplevel.pending_width != toplevel.width ||
        toplevel.pending_height != toplevel.height)
        toplevel.resized = true;
    toplevel.width = toplevel.pending_width;
    toplevel.height = toplevel.pending_height;
    toplevel.configured = true;
    if (toplevel.shm != nullptr && (first || toplevel.resized)) {
        PaintBlack(toplevel);
        toplevel.resized = false;
    }
}
const xdg_surface_listener SHELL_SURFACE_LISTENER = {.configure = OnShellConfigure};

void OnConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*)
{
    auto& toplevel = *static_cast<WaylandToplevel*>(data);
    toplevel.pending_width = width;
    toplevel.pending_height = height;
}

void OnClose(void* data, xdg_toplevel*) { static_cast<WaylandToplevel*>(data)->closed = true; }
// Of later versions of xdg_wm_base than the one bound; never sent to us.
void OnBounds(void*, xdg_toplevel*, int32_t, int32_t) {}
void OnCapabilities(void*, xdg_toplevel*, wl_array*) {}

const xdg_toplevel_listener TOPLEVEL_LISTENER = {
    .configure = OnConfigure,
    .close = OnClose,
    .configure_bounds = OnBounds,
    .wm_capabilities = OnCapabilities,
};

void OnEnter(void* data, wl_surface*, wl_output* output)
{
    static_cast<WaylandToplevel*>(data)->shown_on = output;
}

void OnLeave(void* data, wl_surface*, wl_output* output)
{
    auto& toplevel = *static_cast<WaylandToplevel*>(data);
    if (toplevel.shown_on == output) toplevel.shown_on = nullptr;
}

const wl_surface_listener SURFACE_LISTENER = {.enter = OnEnter, .leave = OnLeave};

}  // namespace

std::unique_ptr<WaylandToplevel> CreateToplevelWayland(WaylandClient& client, wl_output* output)
{
    auto toplevel = std::make_unique<WaylandToplevel>();
    toplevel->surface = wl_compositor_create_surface(client.compositor);
    wl_surface_add_listener(toplevel->surface, &SURFACE_LISTENER, toplevel.get());
    toplevel->shell_surface = xdg_wm_base_get_xdg_surface(client.wm_base, toplevel->surface);
    xdg_surface_add_listener(toplevel->shell_surface, &SHELL_SURFACE_LISTENER, toplevel.get());
    toplevel->toplevel = xdg_surface_get_toplevel(toplevel->shell_surface);
    xdg_toplevel_add_listener(toplevel->toplevel, &TOPLEVEL_LISTENER, toplevel.get());
    xdg_toplevel_set_title(toplevel->toplevel, FULL_SCREEN_TITLE);
    xdg_toplevel_set_app_id(toplevel->toplevel, APP_ID);
    xdg_toplevel_set_fullscreen(toplevel->toplevel, output);
    wl_surface_commit(toplevel->surface);
    return toplevel;
}

std::unique_ptr<WaylandToplevel> CreateCoverWayland(WaylandClient& client, WaylandOutput& output)
{
    auto cover = CreateToplevelWayland(client, output.output);
    cover->covered = &output;
    cover->shm = client.shm;
    return cover;
}

void MoveToplevelWayland(WaylandToplevel& toplevel, wl_output* output)
{
    xdg_toplevel_set_fullscreen(toplevel.toplevel, output);
    wl_surface_commit(toplevel.surface);
}

void DestroyToplevelWayland(WaylandToplevel& toplevel)
{
    if (toplevel.toplevel != nullptr) xdg_toplevel_destroy(toplevel.toplevel);
    if (toplevel.shell_surface != nullptr) xdg_surface_destroy(toplevel.shell_surface);
    if (toplevel.surface != nullptr) wl_surface_destroy(toplevel.surface);
    if (toplevel.buffer != nullptr) wl_buffer_destroy(toplevel.buffer);
    toplevel = WaylandToplevel();
}
