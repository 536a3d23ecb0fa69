// The frame timer: counts frames on the high-resolution clock and keeps the
// frame-rate figures that drive the scene. All values are process-wide and 0
// at process start.
#pragma once

#include <cstdint>

#include "platform/wintypes.h"

extern LARGE_INTEGER Frequency;   // counter ticks per second
extern int64_t StartCount;        // counter at Timer_Start
extern int64_t PreviousCount;     // counter at the previous tick
extern int64_t SampleStartCount;  // counter where the current sample window began

extern double FrameInterval;       // seconds between the last two ticks
extern uint32_t FrameCount;        // frames since process start
extern uint32_t SampleFrameCount;  // frames in the current sample window
extern double AverageFrameRate;    // frames per second since Timer_Start
extern double SampleFrameRate;     // frames per second of the last completed window; 0 before

// Reads the counter's frequency and the start count. The counts and rates
// carry on from where they were.
void Timer_Start();

// Counts one frame and updates every figure.
void Timer_Frame();
