// The renderer: the table of flyers with its adaptive population limit, and
// the OpenGL scene that shows them. CRender has no instances; its state is
// process-wide.
#pragma once

#include "platform/wintypes.h"

class CFlyer;

const int FLYER_SLOTS = 200;
const int MIN_FLYERS = 10;
const int MAX_FLYERS = FLYER_SLOTS;

// Each slot is empty (null) or owns one flyer. Both passes walk it in order.
extern CFlyer* FlyerSlots[FLYER_SLOTS];
// The population limit, MIN_FLYERS to MAX_FLYERS; 10 at process start.
extern int MaxFlyers;
// Millisecond clock reading of the controller's last step; 0 at process start.
extern DWORD LastAdjustmentTime;

class CRender {
public:
    CRender() = delete;

    // Moves every flyer by the interval, retires those that left the scene,
    // spawns into empty slots while under the limit, then lets the
    // population controller adjust the limit.
    static void Update(double time_interval_s);

    static int CountFlyers();
    static void IncreaseMaxFlyers();
    static void DecreaseMaxFlyers();
    static void AdjustPopulation();
};
