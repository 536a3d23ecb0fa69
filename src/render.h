// The renderer: the table of flyers with its adaptive population limit, and
// the OpenGL scene that shows them. CRender has no instances; its state is
// process-wide.
#pragma once

#include "bitmapfont.h"
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
// The viewport in pixels; 0 until the first Resize.
extern int ScreenWidth;
extern int ScreenHeight;
// Built with the render window's device context, never drawn.
extern CBitmapFont BitmapFont;

class CRender {
public:
    CRender() = delete;

    // Sets up the OpenGL state, the light, the bitmap font and the model's
    // display list; hdc has an OpenGL context current on this thread.
    static void Init(HDC hdc);
    // Releases the font and every flyer; the model's list stays.
    static void Close();
    static void Resize(int w, int h);
    // Draws one frame into the back buffer; the caller flushes and swaps.
    static void Draw();
    static void SetProjection();
    static void SetLights();

    // Moves every flyer by the interval, retires those that left the scene,
    // spawns into empty slots while under the limit, then lets the
    // population controller adjust the limit.
    static void Update(double time_interval_s);

    static int CountFlyers();
    static void IncreaseMaxFlyers();
    static void DecreaseMaxFlyers();
    static void AdjustPopulation();
};

// Only in the controller's diagnostic build: once a sample window has
// closed, what the population controller read and where it left the limit.
void TraceController();
