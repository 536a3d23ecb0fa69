// Linux clocks: CLOCK_MONOTONIC counted in nanoseconds stands in for the
// performance counter, and its milliseconds, cut to 32 bits so that they wrap
// like timeGetTime, serve the population controller.
#include <time.h>

#include "platform/clock.h"
#include "platform/linux/monotonic_clock.h"

int64_t MonotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * NANOSECONDS_PER_SECOND + now.tv_nsec;
}

namespace {
BOOL QueryPerformanceFrequencyLinux(LARGE_INTEGER* frequency)
{
    frequency->QuadPart = NANOSECONDS_PER_SECOND;
    return TRUE;
}

BOOL QueryPerformanceCounterLinux(LARGE_INTEGER* count)
{
    count->QuadPart = MonotonicNanoseconds();
    return count->QuadPart > 0;
}

DWORD timeGetTimeLinux() { return DWORD(uint64_t(MonotonicNanoseconds() / 1000000)); }
}  // namespace

ClockPlatform Clock = {
    .QueryPerformanceFrequency = QueryPerformanceFrequencyLinux,
    .QueryPerformanceCounter = QueryPerformanceCounterLinux,
    .timeGetTime = timeGetTimeLinux,
};
