// CLOCK_MONOTONIC in nanoseconds: the Linux program's one clock, beneath the
// frame timer, the population controller and the frame pace.
#pragma once

#include <cstdint>

constexpr int64_t NANOSECONDS_PER_SECOND = 1'000'000'000;

int64_t MonotonicNanoseconds();
