#include "platform/clock.h"

#include <mmsystem.h>

ClockPlatform Clock = {
    .QueryPerformanceFrequency = QueryPerformanceFrequency,
    .QueryPerformanceCounter = QueryPerformanceCounter,
    .timeGetTime = timeGetTime,
};
