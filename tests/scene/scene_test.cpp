// One flyer's spawn, the update pass over the slot table and the population
// controller. The golden spawns were computed from the spawn's and the random
// sequence's rules in Python's doubles, apart from this code, and must match
// bit for bit.
#include <gmock/gmock.h>

#include <vector>

#include "flyer.h"
#include "render.h"
#include "support/fake_clock.h"
#include "support/scene_state.h"
#include "utility/diagnostics.h"
#include "utility/random.h"
#include "utility/timer.h"

class Scene : public testing::Test {
protected:
    Scene() { ResetSceneState(); }
    FakeClock clock_;
};

// Its first velocity, slower than 0.15, is drawn again.
TEST_F(Scene, SpawnDrawsPlaceVelocityAndSpinInItsOrder)
{
    Random_Seed(277);
    SampleFrameRate = 25;
    const CFlyer flyer;
    EXPECT_THAT(flyer.position,
                testing::FieldsAre(-11.868153935362027, -12.426435132907894, -5.394268623920408));
    EXPECT_EQ(flyer.spin, 82.78603473006379);
    // Until the first frame-rate sample, the farthest depth; a spin either way.
    SampleFrameRate = 0;
    Random_Seed(1);
    const CFlyer unsampled;
    EXPECT_EQ(unsampled.position.z, -12);
    EXPECT_EQ(unsampled.spin, -135.57206946012758);
}

// Flyers move and turn by the interval: the one in slot 0 comes to the
// retirement radius, where it stays, and the one in slot 3 crosses it. Seven
// spawns and the retirement take the four to the limit of ten: the retired
// flyer's slot stays empty this pass, a higher one is filled.
TEST_F(Scene, UpdateMovesRetiresAndSpawnsUpToTheLimit)
{
    for (int slot : {0, 3, 5, 199}) FlyerSlots[slot] = new CFlyer;
    CFlyer& moving = *FlyerSlots[0];
    moving.position.Set(-0.25, -11.875, -17);
    moving.velocity.Set(0.5, -0.25, 2);
    moving.angle = 10;
    moving.spin = -100;
    FlyerSlots[3]->position.Set(RETIREMENT_RADIUS - 0.25, 0, 0);
    FlyerSlots[3]->velocity.Set(1, 0, 0);
    CRender::Update(0.5);
    std::vector<int> occupied;
    for (int slot = 0; slot < FLYER_SLOTS; ++slot)
        if (FlyerSlots[slot] != nullptr) occupied.push_back(slot);
    ASSERT_THAT(occupied, testing::ElementsAre(0, 1, 2, 4, 5, 6, 7, 8, 9, 199));
    EXPECT_THAT(moving.position, testing::FieldsAre(0, -12, -16));
    EXPECT_EQ(moving.angle, -40);
}

// Each row: the limit, the frame-rate figures and the millisecond clock at
// the controller's step in an update, then how the limit changes.
TEST_F(Scene, ControllerStepsTheLimitTowardsThirtyFramesASecond)
{
    static constexpr double fast = 0.02;
    static constexpr double slow = 0.05;
    static constexpr double target = 1.0 / 30;
    static constexpr DWORD now = 5000;
    struct Step {
        const char* name;
        int max = 50;
        double rate = 45;
        double interval = fast;
        DWORD last = now - 2000;
        int change = 0;
    };
    const Step rows[] = {
        {.name = "fast, two seconds on", .change = +1},
        {.name = "slow", .rate = 25, .interval = slow, .change = -1},
        {.name = "fast rate, slow frame", .interval = slow},
        {.name = "rate at target", .rate = 30},
        {.name = "rate at target, slow frame", .rate = 30, .interval = slow},
        {.name = "frame at target", .interval = target},
        {.name = "slow rate, frame at target", .rate = 25, .interval = target},
        {.name = "at the ceiling", .max = MAX_FLYERS},
        {.name = "at the floor", .max = MIN_FLYERS, .rate = 25, .interval = slow},
        {.name = "too soon", .last = now - 1999},
    };
    for (const Step& row : rows) {
        SCOPED_TRACE(row.name);
        MaxFlyers = row.max;
        SampleFrameRate = row.rate;
        FrameInterval = row.interval;
        LastAdjustmentTime = row.last;
        clock_.milliseconds = now;
        CRender::Update(0);
        EXPECT_EQ(MaxFlyers, row.max + row.change);
    }
    CRender::Update(-0.00009);  // within the tolerance: no assertion
    EXPECT_EXIT(CRender::Update(-EPSILON), testing::ExitedWithCode(1),
                "Assert: time_interval_s > -EPSILON");
}
