// The saver's run time: what every host does with the scene between making a
// drawing surface and losing it, written once. On the thread that owns the
// OpenGL context, a host calls
//   SaverSeed()       as the saver's window is made,
//   SaverStart(dc)    once the context is current on the surface,
//   SaverFrame()      for each frame, then flushes and swaps the buffers,
//   SaverStop()       as the surface goes.
// Each host's own steps that must fall between the run time's are handed in
// where they belong.
#pragma once

#include <functional>

#include "platform/wintypes.h"
#include "saver_identity.h"

// Seeds the random sequence from the calendar time.
void SaverSeed();

// Sets up the scene's OpenGL state, light, font and model on the surface
// behind `dc`, takes the host's `before_clock` step, and starts the frame
// clock.
void SaverStart(HDC dc, const std::function<void()>& before_clock = {});

// One frame into the back buffer: the clock's tick, the scene moved on by the
// interval since the last frame, and drawn, with the sample frame rate in the
// lower left corner when `show_frame_rate` is set.
void SaverFrame(bool show_frame_rate = false);

// Closes the scene, takes the host's `after_close` step (its surface's
// release), and traces the frame count and rates.
void SaverStop(const std::function<void()>& after_close = {});
