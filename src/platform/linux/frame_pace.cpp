#include "platform/linux/frame_pace.h"

#include "platform/linux/monotonic_clock.h"

FramePace::FramePace(int max_fps) : period_ns_(max_fps > 0 ? NANOSECONDS_PER_SECOND / max_fps : 0)
{
}

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
