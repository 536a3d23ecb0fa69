// The one rule for how far the mouse may wander under a full-screen saver
// before it counts as the user coming back, shared by every host.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "platform/wintypes.h"

// Largest mouse travel (sum of both axes, in pixels) that passes unnoticed.
constexpr DWORD MOUSE_THRESHOLD = 4;

// Wide arithmetic: the distance between two extreme coordinates does not fit
// 32 bits.
inline bool MouseTravelEndsSaver(POINT from, POINT to)
{
    const uint64_t travel =
        uint64_t(std::llabs(int64_t(to.x) - from.x)) + uint64_t(std::llabs(int64_t(to.y) - from.y));
    return travel > MOUSE_THRESHOLD;
}
