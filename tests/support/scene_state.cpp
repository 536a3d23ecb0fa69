#include "support/scene_state.h"

#include "flyer.h"
#include "render.h"
#include "utility/random.h"
#include "utility/timer.h"

void ResetSceneState(int32_t seed)
{
    for (CFlyer*& slot : FlyerSlots) delete slot, slot = nullptr;
    MaxFlyers = MIN_FLYERS, LastAdjustmentTime = 0, ScreenWidth = ScreenHeight = 0;
    CFlyer::DisplayListId = 0, BitmapFont = CBitmapFont();
    FrameInterval = SampleFrameRate = AverageFrameRate = 0.0, FrameCount = SampleFrameCount = 0;
    Random_Seed(seed);
}
