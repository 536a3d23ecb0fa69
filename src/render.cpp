#include "render.h"

#include <new>

#include "flyer.h"
#include "platform/clock.h"
#include "utility/diagnostics.h"
#include "utility/timer.h"

CFlyer* FlyerSlots[FLYER_SLOTS];
int MaxFlyers = MIN_FLYERS;
DWORD LastAdjustmentTime = 0;

namespace {
constexpr DWORD ADJUSTMENT_SPACING_MS = 2000;
constexpr double TARGET_FRAME_RATE = 30.0;
constexpr double TARGET_INTERVAL_S = 1.0 / 30.0;
}  // namespace

void CRender::Update(double time_interval_s)
{
    ASSERT(time_interval_s > -EPSILON);
    int live = CountFlyers();
    for (CFlyer*& slot : FlyerSlots) {
        if (slot != nullptr) {
            slot->Update(time_interval_s);
            if (slot->IsOutOfRange()) {
                delete slot;
                slot = nullptr;
                --live;
            }
        } else if (live < MaxFlyers) {
            // A failed allocation leaves the slot empty but still uses up the
            // budget, so a short-of-memory frame spawns no more than usual.
            slot = new (std::nothrow) CFlyer;
            ++live;
        }
    }
    AdjustPopulation();
}

int CRender::CountFlyers()
{
    int live = 0;
    for (const CFlyer* slot : FlyerSlots)
        if (slot != nullptr) ++live;
    return live;
}

void CRender::IncreaseMaxFlyers()
{
    if (MaxFlyers < MAX_FLYERS) ++MaxFlyers;
}

void CRender::DecreaseMaxFlyers()
{
    if (MaxFlyers > MIN_FLYERS) --MaxFlyers;
}

void CRender::AdjustPopulation()
{
    const DWORD now = Clock.timeGetTime();
    // Unsigned difference: the wrap of the millisecond clock does no harm.
    if (DWORD(now - LastAdjustmentTime) < ADJUSTMENT_SPACING_MS) return;
    if (SampleFrameRate > TARGET_FRAME_RATE && FrameInterval < TARGET_INTERVAL_S) {
        IncreaseMaxFlyers();
        LastAdjustmentTime = now;
    }
    if (SampleFrameRate < TARGET_FRAME_RATE && FrameInterval > TARGET_INTERVAL_S) {
        DecreaseMaxFlyers();
        LastAdjustmentTime = now;
    }
}
