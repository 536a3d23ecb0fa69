// The two clocks beneath the scene: the high-resolution counter of the frame
// timer and the wrapping millisecond clock of the population controller.
// Each host fills this in with its real calls; tests replace entries to drive
// time by hand.
#pragma once

#include "platform/wintypes.h"

struct ClockPlatform {
    BOOL(WINAPI* QueryPerformanceFrequency)(LARGE_INTEGER* frequency);
    BOOL(WINAPI* QueryPerformanceCounter)(LARGE_INTEGER* count);
    DWORD(WINAPI* timeGetTime)(void);
};
extern ClockPlatform Clock;
