// One flyer's spawn and motion, the update pass over the slot table and the
// population controller. The golden spawns were computed from the spawn's
// rules in Python's doubles, apart from this code, and must match bit for bit.
#include <gmock/gmock.h>

#include <cstring>
#include <new>
#include <vector>

#include "flyer.h"
#include "render.h"
#include "support/fake_clock.h"
#include "support/scene_state.h"
#include "utility/diagnostics.h"
#include "utility/random.h"
#include "utility/timer.h"

using testing::ElementsAre;
using testing::FieldsAre;

class Scene : public testing::Test {
protected:
    Scene() { ResetSceneState(); }
    ~Scene() override { ResetSceneState(); }
    FakeClock clock_;
};

// Over garbage, as on the heap: the spawn sets every field. Its first
// velocity, slower than 0.15, is drawn again.
TEST_F(Scene, SpawnDrawsPlaceVelocityAndSpinInItsOrder)
{
    Random_Seed(277);
    SampleFrameRate = 25;
    alignas(CFlyer) unsigned char raw[sizeof(CFlyer)];
    const CFlyer& flyer = *new (std::memset(raw, 0xFF, sizeof raw)) CFlyer;
    EXPECT_THAT(flyer.position,
                FieldsAre(-11.868153935362027, -12.426435132907894, -5.394268623920408));
    EXPECT_EQ(flyer.velocity.z, 0);
    EXPECT_EQ(flyer.spin, 82.78603473006379);
    EXPECT_EQ(flyer.angle, 0);
    // Until the first frame-rate sample, the farthest depth; a spin either way.
    SampleFrameRate = 0;
    Random_Seed(1);
    const CFlyer unsampled;
    EXPECT_EQ(unsampled.position.z, -12);
    EXPECT_EQ(unsampled.spin, -135.57206946012758);
}

TEST_F(Scene, FlyerMovesAndTurnsByTheInterval)
{
    CFlyer flyer;
    flyer.position.Set(1, 2, -5);
    flyer.velocity.Set(0.5, -0.25, 2);
    flyer.angle = 10;
    flyer.spin = -100;
    flyer.Update(0.5);
    EXPECT_THAT(flyer.position, FieldsAre(1.25, 1.875, -4));
    EXPECT_EQ(flyer.angle, -40);
    flyer.position.Set(0, -12, -16);
    EXPECT_FALSE(flyer.IsOutOfRange()) << "on the retirement radius";
}

TEST_F(Scene, UpdateSpawnsIntoEmptySlotsUpToTheLimit)
{
    // Fresh flyers move inwards; the one in slot 3 crosses the retirement
    // radius in this update.
    for (int slot : {0, 3, 5, 199}) FlyerSlots[slot] = new CFlyer;
    FlyerSlots[3]->position.Set(RETIREMENT_RADIUS - 0.05, 0, 0);
    FlyerSlots[3]->velocity.Set(1, 0, 0);
    CRender::Update(0.1);
    // Seven spawns and the retirement take the four to the limit of ten. The
    // retired flyer's slot stays empty this pass; a higher one is filled.
    std::vector<int> occupied;
    for (int slot = 0; slot < FLYER_SLOTS; ++slot)
        if (FlyerSlots[slot] != nullptr) occupied.push_back(slot);
    EXPECT_THAT(occupied, ElementsAre(0, 1, 2, 4, 5, 6, 7, 8, 9, 199));
}

// Each row: the limit, the frame-rate figures and the millisecond clock at
// the controller's step in an update, then how the limit changes and whether
// the step takes the clock's time as its last.
TEST_F(Scene, ControllerStepsTheLimitTowardsThirtyFramesASecond)
{
    static constexpr double fast = 0.02;
    static constexpr double slow = 0.05;
    static constexpr double target = 1.0 / 30;
    struct Step {
        const char* name;
        int max = 50;
        double rate = 45;
        double interval = fast;
        DWORD last = 3000;
        DWORD now = 5000;
        int change = 0;
        bool steps = false;
    };
    const Step rows[] = {
        {.name = "fast, two seconds on", .change = +1, .steps = true},
        {.name = "slow", .rate = 25, .interval = slow, .change = -1, .steps = true},
        {.name = "fast rate, slow frame", .interval = slow},
        {.name = "rate at target", .rate = 30},
        {.name = "rate at target, slow frame", .rate = 30, .interval = slow},
        {.name = "frame at target", .interval = target},
        {.name = "slow rate, frame at target", .rate = 25, .interval = target},
        {.name = "at the ceiling", .max = MAX_FLYERS, .steps = true},
        {.name = "at the floor", .max = MIN_FLYERS, .rate = 25, .interval = slow, .steps = true},
        {.name = "too soon", .last = 3001},
        {.name = "across the wrap", .last = 0xFFFFF830u, .now = 0, .change = +1, .steps = true},
    };
    for (const Step& row : rows) {
        SCOPED_TRACE(row.name);
        MaxFlyers = row.max;
        SampleFrameRate = row.rate;
        FrameInterval = row.interval;
        LastAdjustmentTime = row.last;
        clock_.milliseconds = row.now;
        CRender::Update(0);
        EXPECT_EQ(MaxFlyers, row.max + row.change);
        EXPECT_EQ(LastAdjustmentTime, row.steps ? row.now : row.last);
    }
    CRender::Update(-0.00009);  // within the tolerance: no assertion
    EXPECT_EXIT(CRender::Update(-EPSILON), testing::ExitedWithCode(1),
                "Assert: time_interval_s > -EPSILON");
}
