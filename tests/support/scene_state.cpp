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
    ScreenWidth = ScreenHeight = 0;
    CFlyer::DisplayListId = 0;
    BitmapFont = CBitmapFont();
    FrameInterval = SampleFrameRate = AverageFrameRate = 0;
    FrameCount = SampleFrameCount = 0;
    Random_Seed(seed);
}
