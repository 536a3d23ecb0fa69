#include "platform/x11/frame_pace.h"

namespace {
constexpr int64_t NANOSECONDS_PER_SECOND = 1'000'000'000;
}

int64_t MonotonicNanoseconds()
{
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * NANOSECONDS_PER_SECOND + now.tv_nsec;
}

FramePace::FramePace(int max_fps) : period_ns_(max_fps > 0 ? NANOSECONDS_PER_SECOND / max_fps : 0) {}

void FramePace::FrameDone(int64_t now_ns)
{
    next_ns_ += period_ns_;
    if (next_ns_ < now_ns) next_ns_ = now_ns;
}

timespec FramePace::TimeToNextFrame(int64_t now_ns) const
{
    const int64_t wait = next_ns_ > now_ns ? next_ns_ - now_ns : 0;
    return {time_t(wait / NANOSECONDS_PER_SECOND), long(wait % NANOSECONDS_PER_SECOND)};
}
