#include "support/scene_state.h"

#include <utility>

#include "flyer.h"
#include "render.h"
#include "utility/random.h"
#include "utility/timer.h"

void ResetSceneState(int32_t seed)
{
    for (CFlyer*& slot : FlyerSlots) delete std::exchange(slot, nullptr);
    MaxFlyers = MIN_FLYERS;
    LastAdjustmentTime = 0;
    ScreenWidth = 0;
    ScreenHeight = 0;
    CFlyer::DisplayListId = 0;
    BitmapFont = CBitmapFont();
    FrameInterval = 0;
    SampleFrameRate = 0;
    AverageFrameRate = 0;
    FrameCount = 0;
    SampleFrameCount = 0;
    Random_Seed(seed);
}
