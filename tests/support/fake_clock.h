// A clock that tests set by hand, installed in place of the host's clocks for
// the lifetime of the object.
#pragma once

#include <cstdint>

#include "platform/clock.h"

class FakeClock {
public:
    FakeClock();
    ~FakeClock();
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    // Performance counter: ticks at `frequency` per second.
    int64_t counter = 1000;
    int64_t frequency = 1000000;
    BOOL counter_result = TRUE;
    BOOL frequency_result = TRUE;
    // The wrapping millisecond clock.
    DWORD milliseconds = 0;

    void AdvanceSeconds(double seconds) { counter += int64_t(seconds * double(frequency) + 0.5); }

private:
    ClockPlatform saved_;
};
