// The update pass over the slot table and the population controller.
#include <gtest/gtest.h>

#include <vector>

#include "flyer.h"
#include "render.h"
#include "support/fake_clock.h"
#include "support/scene_state.h"
#include "utility/timer.h"

namespace {

class SceneTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetSceneState();
        // Far from any adjustment, so that only the tests that want the
        // controller to act see it act.
        clock.milliseconds = 1000;
    }
    void TearDown() override { ResetSceneState(); }

    static std::vector<int> OccupiedSlots()
    {
        std::vector<int> slots;
        for (int i = 0; i < FLYER_SLOTS; ++i)
            if (FlyerSlots[i] != nullptr) slots.push_back(i);
        return slots;
    }

    // Puts a flyer in a slot, at a given distance straight ahead, standing still.
    static CFlyer* Place(int slot, double distance)
    {
        CFlyer* f = new CFlyer;
        f->position.Set(0, 0, -distance);
        f->velocity.Set(0, 0, 0);
        f->spin = 0;
        delete FlyerSlots[slot];
        FlyerSlots[slot] = f;
        return f;
    }

    FakeClock clock;
};

std::vector<int> Range(int first, int count)
{
    std::vector<int> v;
    for (int i = 0; i < count; ++i) v.push_back(first + i);
    return v;
}

TEST_F(SceneTest, NewFlyersAreNotMovedInTheirFirstFrame)
{
    Place(0, 5);
    CRender::Update(0.5);
    // Slot 1 was spawned in this pass: still on its spawn point, unturned.
    EXPECT_EQ(FlyerSlots[1]->angle, 0.0);
    EXPECT_GE(FlyerSlots[1]->position.Length(), 18.0);
    const double spin = FlyerSlots[1]->spin;
    CRender::Update(0.5);
    EXPECT_DOUBLE_EQ(FlyerSlots[1]->angle, 0.5 * spin);
}

TEST_F(SceneTest, RetiredSlotIsNotRefilledButAHigherOneIs)
{
    for (int i = 0; i < 10; ++i) Place(i, 5);
    FlyerSlots[3]->position.Set(0, 0, -20.5);  // left the scene
    CRender::Update(0.0);
    std::vector<int> expected = Range(0, 11);
    expected.erase(expected.begin() + 3);
    EXPECT_EQ(OccupiedSlots(), expected);
    // With room for one more, the next pass fills the hole, the lowest empty slot.
    MaxFlyers = 11;
    CRender::Update(0.0);
    EXPECT_EQ(OccupiedSlots(), Range(0, 11));
}

TEST_F(SceneTest, SpawnsOnlyTheBudgetOfTheLimitMinusLive)
{
    struct Case {
        int max_flyers;
        std::vector<int> placed;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {10, {0, 5, 199}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 199}},
        {12, {}, Range(0, 12)},  // an empty table fills from the lowest slot
        {200, {}, Range(0, 200)},
        {10, Range(20, 10), Range(20, 10)},
    };
    for (const Case& c : cases) {
        ResetSceneState();
        MaxFlyers = c.max_flyers;
        for (int slot : c.placed) Place(slot, 5);
        CRender::Update(0.0);
        EXPECT_EQ(OccupiedSlots(), c.expected) << "MaxFlyers " << c.max_flyers;
    }
}

TEST_F(SceneTest, SurplusFlyersLeaveOnlyByRetiring)
{
    for (int i = 0; i < 15; ++i) Place(i, 5);
    MaxFlyers = 10;
    CRender::Update(0.1);
    EXPECT_EQ(CRender::CountFlyers(), 15);
    // Three retire: twelve are still over the limit, so nothing spawns.
    for (int i = 0; i < 3; ++i) FlyerSlots[i]->position.Set(0, 0, -25);
    CRender::Update(0.1);
    EXPECT_EQ(OccupiedSlots(), Range(3, 12));
    // Three more: the count drops to nine, and the first empty slot above the
    // survivors takes the one place free; the emptied slots stay empty.
    for (int i = 3; i < 6; ++i) FlyerSlots[i]->position.Set(0, 0, -25);
    CRender::Update(0.1);
    EXPECT_EQ(OccupiedSlots(), Range(6, 10));
    CRender::Update(0.1);
    EXPECT_EQ(OccupiedSlots(), Range(6, 10));
}

TEST_F(SceneTest, FlyersDriftAcrossAndRetire)
{
    SampleFrameRate = 25;
    FrameInterval = 0.04;
    // Every flyer crosses a sphere of radius 20 at no less than 0.15 units a
    // second: within about 270 seconds each of the first ten is gone.
    CRender::Update(0.0);
    std::vector<CFlyer*> first(FlyerSlots, FlyerSlots + 10);
    for (int frame = 0; frame < 300 * 25; ++frame) {
        CRender::Update(0.04);
        for (const CFlyer* f : FlyerSlots) {
            if (f != nullptr) {
                ASSERT_LE(f->position.Length(), 20.0);
            }
        }
    }
    EXPECT_EQ(CRender::CountFlyers(), 10);
    int survivors = 0;
    for (int i = 0; i < 10; ++i)
        if (FlyerSlots[i] == first[i]) ++survivors;
    EXPECT_EQ(survivors, 0);
}

using SceneDeathTest = SceneTest;

TEST_F(SceneDeathTest, NegativeIntervalBeyondToleranceEndsTheProcess)
{
    EXPECT_EXIT(CRender::Update(-0.0001), testing::ExitedWithCode(1),
                "Assert: time_interval_s > -EPSILON");
    CRender::Update(-0.00009);
    EXPECT_EQ(CRender::CountFlyers(), 10);
}

// The controller: each row sets the figures and the clock, calls
// AdjustPopulation once, and checks the limit and the time it records.
TEST_F(SceneTest, ControllerRules)
{
    struct Case {
        const char* name;
        int max_before;
        DWORD last_before;
        DWORD now;
        double sample_rate, interval;
        int max_after;
        DWORD last_after;
    };
    const double fast = 0.02, slow = 0.05, target = 1.0 / 30.0;
    const Case cases[] = {
        {"fast machine steps up", 10, 0, 5000, 45, fast, 11, 5000},
        {"slow last frame holds", 10, 0, 5000, 45, slow, 10, 0},
        {"low sample rate alone holds", 50, 0, 5000, 25, fast, 50, 0},
        {"slow machine steps down", 50, 0, 5000, 25, slow, 49, 5000},
        {"fast sample with slow interval holds", 50, 0, 5000, 31, slow, 50, 0},
        {"exactly 30 fps holds", 50, 0, 5000, 30.0, fast, 50, 0},
        {"exactly the target interval holds", 50, 0, 5000, 45, target, 50, 0},
        {"target interval while slow holds", 50, 0, 5000, 25, target, 50, 0},
        {"no sample yet can only step down", 10, 0, 5000, 0.0, slow, 10, 5000},
        {"at 200 stays but records the time", 200, 0, 5000, 45, fast, 200, 5000},
        {"at 10 stays but records the time", 10, 0, 5000, 25, slow, 10, 5000},
        {"1999 ms after the last step waits", 10, 3000, 4999, 45, fast, 10, 3000},
        {"2000 ms after the last step acts", 10, 3000, 5000, 45, fast, 11, 5000},
        {"spacing across the clock's wrap", 10, 0xFFFFFC18u, 1000, 45, fast, 11, 1000},
        {"short of the spacing across the wrap", 10, 0xFFFFFC18u, 999, 45, fast, 10, 0xFFFFFC18u},
        {"first frame after a start at 1.9 s", 10, 0, 1999, 45, fast, 10, 0},
    };
    for (const Case& c : cases) {
        MaxFlyers = c.max_before;
        LastAdjustmentTime = c.last_before;
        clock.milliseconds = c.now;
        SampleFrameRate = c.sample_rate;
        FrameInterval = c.interval;
        CRender::AdjustPopulation();
        EXPECT_EQ(MaxFlyers, c.max_after) << c.name;
        EXPECT_EQ(LastAdjustmentTime, c.last_after) << c.name;
    }
}

TEST_F(SceneTest, ControllerStepsOncePerTwoSeconds)
{
    SampleFrameRate = 45;
    FrameInterval = 0.02;
    clock.milliseconds = 10000;
    CRender::Update(0.02);
    EXPECT_EQ(MaxFlyers, 11);
    clock.milliseconds += 1999;
    CRender::Update(0.02);
    EXPECT_EQ(MaxFlyers, 11);
    clock.milliseconds += 1;
    CRender::Update(0.02);
    EXPECT_EQ(MaxFlyers, 12);
    // The climb from 10 to 200 takes 190 steps.
    MaxFlyers = 10;
    for (int step = 0; step < 250; ++step) {
        clock.milliseconds += 2000;
        CRender::AdjustPopulation();
    }
    EXPECT_EQ(MaxFlyers, 200);
    SampleFrameRate = 20;
    FrameInterval = 0.05;
    for (int step = 0; step < 250; ++step) {
        clock.milliseconds += 2000;
        CRender::AdjustPopulation();
    }
    EXPECT_EQ(MaxFlyers, 10);
}

}  // namespace
