#include "platform/clock.h"

#include <mmsystem.h>

ClockPlatform Clock = {
    QueryPerformanceFrequency,
    QueryPerformanceCounter,
    timeGetTime,
};
