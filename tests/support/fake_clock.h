// A clock that tests set by hand, installed in place of the host's clocks for
// the lifetime of the object.
#pragma once

#include <cstdint>

#include "platform/clock.h"

class FakeClock {
public:
    FakeClock() : saved_(Clock)
    {
        current = this;
        Clock = {
            .QueryPerformanceFrequency =
                [](LARGE_INTEGER* f) WINAPI {
                    f->QuadPart = current->frequency;
                    return current->frequency_result;
                },
            .QueryPerformanceCounter =
                [](LARGE_INTEGER* c) WINAPI {
                    c->QuadPart = current->counter;
                    return current->counter_result;
                },
            .timeGetTime = []() WINAPI { return current->milliseconds; },
        };
    }
    ~FakeClock() { Clock = saved_; }

    int64_t counter = 1000, frequency = 1000000;  // performance counter ticks and ticks per second
    BOOL counter_result = TRUE, frequency_result = TRUE;
    DWORD milliseconds = 0;  // the wrapping millisecond clock
    void AdvanceSeconds(double seconds) { counter += int64_t(seconds * double(frequency) + 0.5); }

private:
    static inline FakeClock* current = nullptr;
    ClockPlatform saved_;
};
