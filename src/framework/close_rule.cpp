#include "framework/close_rule.h"

#include <cstdint>
#include <cstdlib>

namespace {
// Wide arithmetic: the distance between two extreme coordinates does not fit
// 32 bits.
bool TravelsTooFar(POINT from, POINT to)
{
    const uint64_t travel =
        uint64_t(std::llabs(int64_t(to.x) - from.x)) + uint64_t(std::llabs(int64_t(to.y) - from.y));
    return travel > MOUSE_THRESHOLD;
}
}  // namespace

CloseDecision DecideClose(const SaverEvent& event, POINT reference)
{
    switch (event.input) {
    case SaverInput::PointerAt:
        if (TravelsTooFar(reference, event.pointer)) return {true, event.pointer};
        return {false, reference};
    case SaverInput::KeyDown:
    case SaverInput::EscapeDown:
    case SaverInput::CloseRequested:
    case SaverInput::ButtonDown:
    case SaverInput::FocusLost:
    case SaverInput::CriticalResume:
    case SaverInput::PowerBroadcast:
    case SaverInput::AutoPlayQuery:
        break;
    }
    return {true, reference};
}

bool EndsWindowedRun(const SaverEvent& event)
{
    return event.input == SaverInput::EscapeDown || event.input == SaverInput::CloseRequested;
}
