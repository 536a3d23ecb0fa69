#include "scene_population.h"

#include "flyer.h"
#include "render.h"
#include "utility/mathutil.h"
#include "utility/random.h"
#include "utility/timer.h"

namespace {
constexpr int POPULATION_SEED = 20240607;
// Fine enough to find where a flyer leaves the scene to within a frame or so.
constexpr double LIFE_STEP_S = 0.05;

double LifeSpan(const CFlyer& flyer)
{
    CFlyer probe = flyer;
    double life = 0.0;
    while (!probe.IsOutOfRange()) {
        probe.Update(LIFE_STEP_S);
        life += LIFE_STEP_S;
    }
    return life;
}
}  // namespace

void ClearScene()
{
    for (CFlyer*& slot : FlyerSlots) {
        delete slot;
        slot = nullptr;
    }
}

void PopulateScene(int count)
{
    ClearScene();
    Random_Seed(POPULATION_SEED);
    // After the first second: new flyers take any depth, as in a running saver.
    SampleFrameRate = 60.0;
    for (int i = 0; i < count && i < FLYER_SLOTS; ++i) {
        CFlyer* flyer = new CFlyer;
        // Strictly inside the life span: the flyer is still in the scene.
        flyer->Update(RandomRange(0.0, LifeSpan(*flyer) - LIFE_STEP_S));
        FlyerSlots[i] = flyer;
    }
}
