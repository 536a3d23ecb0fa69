// The pace of frames under a cap of so many a second: after each frame, the
// time to wait before the next. A late frame starts the count afresh rather
// than letting the next ones rush to catch up.
#pragma once

#include <time.h>

#include <cstdint>

class FramePace {
public:
    // 0: no cap, never wait.
    explicit FramePace(int max_fps);

    void FrameDone(int64_t now_ns);
    bool Waiting(int64_t now_ns) const { return now_ns < next_ns_; }
    // Zero once the next frame is due.
    timespec TimeToNextFrame(int64_t now_ns) const;

private:
    int64_t period_ns_;
    int64_t next_ns_ = 0;
};
