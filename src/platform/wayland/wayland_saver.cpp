// The Wayland host, top to bottom: connection -> toplevels -> EGL context ->
// frames -> teardown. The scene's life is the saver's run time; this file
// feeds it a surface, a pace set by the compositor's frame callbacks under
// the cap, and the seat's events that end it; it ends on the stop signals.
#include "platform/wayland/wayland_saver.h"

#include <cerrno>
#include <cstdio>
#include <optional>

#include "platform/linux/frame_pace.h"
#include "platform/linux/gdi_linux.h"
#include "platform/linux/monotonic_clock.h"
#include "platform/linux/stop_signals.h"
#include "platform/linux/wait_for_connection.h"
#include "platform/wayland/egl_context.h"
#include "platform/wayland/gdi_wayland.h"
#include "platform/wayland/wayland_covers.h"
#include "platform/wayland/wayland_seat.h"
#include "render.h"
#include "saver_runtime.h"
#include "utility/diagnostics.h"

namespace {
// When neither the compositor nor the output says a size.
constexpr int FALLBACK_WIDTH = 640, FALLBACK_HEIGHT = 480;

struct Saver {
    const CommandOptions* options = nullptr;
    WaylandClient client;
    WaylandSeat seat;
    std::unique_ptr<WaylandToplevel> scene;
    WaylandCovers covers;
    EglWayland egl;
    WaylandDeviceContext device;
    wl_callback* frame_callback = nullptr;
    bool frame_due = true;
    std::optional<POINT> pointer;  // where travel is measured from, once it entered
    bool ended = false;
    std::optional<WaylandFailure> broken;
};

int Fail(const WaylandFailure& failure)
{
    std::fprintf(stderr, "lumenfall: %s failed: %s\n", failure.call.c_str(),
                 failure.detail.c_str());
    return 1;
}

void OnFrameDone(void* data, wl_callback* callback, uint32_t)
{
    auto& saver = *static_cast<Saver*>(data);
    wl_callback_destroy(callback);
    saver.frame_callback = nullptr;
    saver.frame_due = true;
}
const wl_callback_listener FRAME_LISTENER = {.done = OnFrameDone};

// Reads and dispatches what the compositor sent, waiting at most `timeout`
// (null: until something comes), the stop signals let in meanwhile. The call
// that failed once the connection broke, else null.
const char* WaitForEvents(wl_display* display, const timespec* timeout, const sigset_t& mask)
{
    while (wl_display_prepare_read(display) != 0)
        if (wl_display_dispatch_pending(display) < 0) return "wl_display_dispatch_pending";
    // A full socket (EAGAIN) drains as the compositor reads; the rest fails.
    if (wl_display_flush(display) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(display);
        return "wl_display_flush";
    }
    // A hung-up connection is read too: the read names the failure.
    if (WaitForConnection(wl_display_get_fd(display), timeout, mask) != ConnectionState::Quiet) {
        if (wl_display_read_events(display) < 0) return "wl_display_read_events";
    } else {
        wl_display_cancel_read(display);
    }
    return wl_display_dispatch_pending(display) < 0 ? "wl_display_dispatch_pending" : nullptr;
}

// The close rule on every input event since the last batch; the first
// pointer position is the reference that travel is measured from.
void TakeInput(Saver& saver)
{
    if (saver.seat.focus.Lost()) saver.seat.events.push_back({.input = SaverInput::FocusLost});
    for (const SaverEvent& event : saver.seat.events) {
        if (event.input == SaverInput::PointerAt && !saver.pointer) {
            saver.pointer = event.pointer;
            continue;
        }
        const CloseDecision decision = DecideClose(event, saver.pointer.value_or(event.pointer));
        saver.pointer = decision.reference;
        if (decision.close && !saver.ended) {
            saver.ended = true;
            Trace("Ended by input event %d\n", int(event.input));
        }
    }
    saver.seat.events.clear();
    if (saver.scene->closed) saver.ended = true;
}

void DrawFrame(Saver& saver, FramePace& pace)
{
    WaylandToplevel& scene = *saver.scene;
    if (scene.resized && scene.width > 0 && scene.height > 0) {
        ResizeEglWayland(saver.egl, scene.width, scene.height);
        CRender::Resize(scene.width, scene.height);
    }
    scene.resized = false;
    SaverFrame(saver.options->show_fps);
    // Asked for before the swap commits the frame: the compositor answers
    // when it wants the next one, and not while the scene is hidden.
    saver.frame_callback = wl_surface_frame(scene.surface);
    wl_callback_add_listener(saver.frame_callback, &FRAME_LISTENER, &saver);
    saver.frame_due = false;
    if (!SwapEglWayland(saver.egl))
        saver.broken = BrokenConnectionWayland(saver.client.display, "eglSwapBuffers");
    pace.FrameDone(MonotonicNanoseconds());
}

void RunFrames(Saver& saver, const sigset_t& mask)
{
    FramePace pace(saver.options->max_fps);
    while (!saver.ended && !saver.broken && !StopRequested()) {
        if (saver.frame_due && !pace.Waiting(MonotonicNanoseconds())) DrawFrame(saver, pace);
        if (saver.broken) return;
        timespec until_next = {};
        if (saver.frame_due) until_next = pace.TimeToNextFrame(MonotonicNanoseconds());
        const char* failed =
            WaitForEvents(saver.client.display, saver.frame_due ? &until_next : nullptr, mask);
        if (failed != nullptr) {
            saver.broken = BrokenConnectionWayland(saver.client.display, failed);
            return;
        }
        TakeInput(saver);
        ReconcileCoversWayland(saver.covers, saver.client, *saver.scene);
    }
}

// The first configure says the scene's size; false when the wait ended
// otherwise (a signal, the compositor gone).
bool AwaitConfigure(Saver& saver, const sigset_t& mask)
{
    while (!saver.scene->configured && !StopRequested()) {
        const char* failed = WaitForEvents(saver.client.display, nullptr, mask);
        if (failed != nullptr) {
            saver.broken = BrokenConnectionWayland(saver.client.display, failed);
            return false;
        }
    }
    return saver.scene->configured;
}

// Where the scene starts, before the compositor has said: the output asked
// for, else the first one.
const WaylandOutput* FirstGuess(const Saver& saver)
{
    if (saver.covers.scene_output != nullptr) return saver.client.Find(saver.covers.scene_output);
    return saver.client.outputs.empty() ? nullptr : saver.client.outputs.front().get();
}

bool StartScene(Saver& saver, WaylandFailure* failure)
{
    WaylandToplevel& scene = *saver.scene;
    const WaylandOutput* output = FirstGuess(saver);
    if (scene.width <= 0 || scene.height <= 0) {
        scene.width = output != nullptr && output->width > 0 ? output->width : FALLBACK_WIDTH;
        scene.height = output != nullptr && output->height > 0 ? output->height : FALLBACK_HEIGHT;
    }
    if (!StartEglWayland(saver.egl, saver.client.display, scene.surface, scene.width, scene.height,
                         failure))
        return false;
    if (output != nullptr)
        saver.device.pixels_per_inch_y = PixelsPerInchLinux(output->height, output->height_mm);
    scene.resized = false;
    SaverSeed();
    SaverStart(ToHdc(&saver.device), [&scene] { CRender::Resize(scene.width, scene.height); });
    return true;
}

void Release(Saver& saver)
{
    StopEglWayland(saver.egl);
    if (saver.frame_callback != nullptr) wl_callback_destroy(saver.frame_callback);
    DestroyCoversWayland(saver.covers);
    if (saver.scene) DestroyToplevelWayland(*saver.scene);
    DetachSeatWayland(saver.seat);
    DisconnectWayland(saver.client);
}

int Run(Saver& saver, const sigset_t& mask)
{
    WaylandFailure failure;
    if (!ConnectWayland(saver.client, &failure)) return Fail(failure);
    const std::string& named = saver.options->output;
    if (!named.empty()) {
        const WaylandOutput* output = saver.client.Named(named);
        if (output == nullptr) {
            std::fprintf(stderr,
                         "lumenfall: --output %s: the compositor has no such output (it has %s)\n",
                         named.c_str(), saver.client.Names().c_str());
            return 1;
        }
        saver.covers.scene_output = output->output;
    }
    saver.scene = CreateToplevelWayland(saver.client, saver.covers.scene_output);
    if (!AwaitConfigure(saver, mask)) return saver.broken ? Fail(*saver.broken) : 0;
    if (!StartScene(saver, &failure)) return Fail(failure);
    RunFrames(saver, mask);
    SaverStop();
    return saver.broken ? Fail(*saver.broken) : 0;
}
}  // namespace

int RunWaylandSaver(const CommandOptions& options)
{
    Gdi = GDI_WAYLAND;
    const sigset_t mask = BlockStopSignals();
    Saver saver;
    saver.options = &options;
    saver.client.seat_bound = [&saver](wl_seat* seat) { AttachSeatWayland(saver.seat, seat); };
    saver.client.output_removed = [&saver](WaylandOutput& output) {
        OutputRemovedWayland(saver.covers, saver.client, saver.scene.get(), output);
    };
    saver.seat.origin_of = [&saver](wl_surface* surface) {
        if (!saver.scene) return POINT{0, 0};
        return saver.covers.OriginOf(saver.client, *saver.scene, surface);
    };
    const int exit_code = Run(saver, mask);
    Release(saver);
    return exit_code;
}
