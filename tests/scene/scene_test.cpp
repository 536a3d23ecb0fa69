// One flyer's spawn and motion, the update pass over the slot table and the
// population controller. The golden spawns were computed from the spawn's
// rules in Python's doubles, apart from this code, and must match bit for bit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <numeric>
#include <vector>

#include "flyer.h"
#include "render.h"
#include "support/fake_clock.h"
#include "support/scene_state.h"
#include "utility/random.h"
#include "utility/timer.h"

// The update allocates flyers without exceptions; this many of those fail
// next. (The global delete frees with free(), as the default new allocates.)
static int failing_allocations = 0;
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return failing_allocations > 0 ? (--failing_allocations, nullptr) : std::malloc(size);
}

TEST(Flyer, GoldenSpawnsMotionAndRetirement) {
    struct Case { int32_t seed; double sample_rate; std::vector<std::vector<double>> spawns; int32_t seed_after; } cases[] = {
        // No frame-rate sample yet: depth -12, though it is drawn.
        {1, 0.0, {{-13.39475692007197, -1.2771996215704835, -12.0, 0.6174810022278512, 0.1700186162907804, -135.57206946012758},
                  {12.572954496902403, -4.740562150944541, -12.0, -0.651783806878872, 0.717886898403882, 186.31031220435193},
                  {4.723541978209783, 12.590084536271295, -12.0, -0.271095919675283, -0.705374309518723, 66.49769585253456}}, -24649964},
        {20261206, 25.0, {{-15.333491012298998, 7.476714377269795, -5.855708487197485, 0.7957090975676748, -0.564317758720664, 141.83629871517076},
                          {6.712149418622433, -15.751426740317966, -5.638721884823145, -0.20218512527848143, 0.8183538315988648, -177.74987029633473},
                          {11.835886715292839, -11.866246528519566, -6.573503830072939, -0.4423657948545793, 0.6697897274697104, -163.48246711630603}}, 578560677},
        // The first velocity is slower than 0.15 and drawn again.
        {96, 25.0, {{-16.722211371196718, 6.461741996520859, -2.154118472853785, 0.728263191625721, -0.2524185918759728, 120.04242072817163}}, -659870389}};
    // The process starts with no model list, the lowest limit and the first seed.
    EXPECT_TRUE(CFlyer::DisplayListId == 0 && MaxFlyers == MIN_FLYERS && LastAdjustmentTime == 0 && RandomSeed == 1);
    alignas(CFlyer) unsigned char raw[sizeof(CFlyer)];
    for (const Case& c : cases) {
        ResetSceneState(c.seed), SampleFrameRate = c.sample_rate;
        for (const std::vector<double>& e : c.spawns) {
            const CFlyer& f = *new (std::memset(raw, 0xFF, sizeof raw)) CFlyer;  // over garbage, as on the heap
            EXPECT_EQ((std::vector<double>{f.position.x, f.position.y, f.position.z, f.velocity.x, f.velocity.y, f.spin}), e);
            EXPECT_TRUE(f.velocity.z == 0 && f.angle == 0);
        }
        EXPECT_EQ(RandomSeed, c.seed_after) << "seed " << c.seed;
    }
    CFlyer f;
    f.position.Set(1, 2, -5), f.velocity.Set(0.5, -0.25, 0), f.spin = -100, f.angle = 10, f.Update(0.5);
    EXPECT_EQ((std::vector<double>{f.angle, f.position.x, f.position.y, f.position.z}), (std::vector<double>{-40, 1.25, 1.875, -5}));
    struct Place { double x, y, z; bool out; } places[] = {{20, 0, 0, false}, {20.0001, 0, 0, true}, {0, -12, -16, false}, {0, 12, -16.0001, true}};
    for (const Place& p : places) EXPECT_EQ((f.position.Set(p.x, p.y, p.z), f.IsOutOfRange()), p.out) << p.x << ", " << p.y << ", " << p.z;
}


static std::vector<int> Range(int first, int count) { std::vector<int> v(count); std::iota(v.begin(), v.end(), first); return v; }

// Each row: the limit, still flyers placed at distance 5 and at 25 (beyond
// the scene), failing allocations, then the occupied slots after one update.
TEST(Scene, UpdateSpawnsTheBudgetOfTheLimitMinusLive) {
    struct Case { int max_flyers; std::vector<int> at5, at25; int failing; std::vector<int> expected; } cases[] = {
        {10, {0, 5, 199}, {}, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 199}}, {200, {}, {}, 0, Range(0, 200)}, {10, Range(20, 10), {}, 0, Range(20, 10)},
        // A retired slot is not refilled in the same pass; a higher one is.
        {10, {0, 1, 2, 4, 5, 6, 7, 8, 9}, {3}, 0, {0, 1, 2, 4, 5, 6, 7, 8, 9, 10}},
        {10, Range(3, 12), {0, 1, 2}, 0, Range(3, 12)},  // surplus flyers leave only by retiring
        // A failed allocation leaves its slot empty but uses up the budget.
        {10, {}, {}, 1, Range(1, 9)}, {10, {0}, {}, 3, {0, 4, 5, 6, 7, 8, 9}}};
    for (const Case& c : cases) {
        ResetSceneState(), MaxFlyers = c.max_flyers;
        for (int slot : c.at5) (FlyerSlots[slot] = new CFlyer)->velocity.Set(0, 0, 0), FlyerSlots[slot]->position.Set(0, 0, -5);
        for (int slot : c.at25) (FlyerSlots[slot] = new CFlyer)->position.Set(0, 0, -25);
        failing_allocations = c.failing, CRender::Update(0.1), failing_allocations = 0;
        std::vector<int> occupied;
        for (int i = 0; i < FLYER_SLOTS; ++i)
            if (FlyerSlots[i]) occupied.push_back(i);
        EXPECT_EQ(occupied, c.expected) << "MaxFlyers " << c.max_flyers << ", first " << c.expected[0];
    }
}

// Each row sets the figures and the clock, lets one update's controller act,
// and checks the limit and the time it records.
TEST(Scene, ControllerRules) {
    FakeClock clock;
    struct Case { int max_before; DWORD last_before, now; double sample_rate, interval; int max_after; DWORD last_after; };
    const double fast = 0.02, slow = 0.05, target = 1.0 / 30.0;
    const Case cases[] = {
        {10, 0, 5000, 45, fast, 11, 5000},   {10, 0, 5000, 45, slow, 10, 0},       {50, 0, 5000, 25, fast, 50, 0},
        {50, 0, 5000, 25, slow, 49, 5000},   {50, 0, 5000, 31, slow, 50, 0},       {50, 0, 5000, 30.0, fast, 50, 0},
        {50, 0, 5000, 45, target, 50, 0},    {50, 0, 5000, 25, target, 50, 0},     {10, 0, 5000, 0.0, slow, 10, 5000},
        {200, 0, 5000, 45, fast, 200, 5000}, {199, 0, 5000, 45, fast, 200, 5000},  {11, 0, 5000, 25, slow, 10, 5000},
        {10, 3000, 4999, 45, fast, 10, 3000}, {10, 3000, 5000, 45, fast, 11, 5000},
        // Across the wrap of the millisecond clock.
        {10, 0xFFFFFC18u, 1000, 45, fast, 11, 1000}, {10, 0xFFFFFC18u, 999, 45, fast, 10, 0xFFFFFC18u}};
    for (const Case& c : cases) {
        MaxFlyers = c.max_before, LastAdjustmentTime = c.last_before, clock.milliseconds = c.now, SampleFrameRate = c.sample_rate;
        FrameInterval = c.interval, CRender::Update(0.0);
        EXPECT_TRUE(MaxFlyers == c.max_after && LastAdjustmentTime == c.last_after) << c.max_before << " at " << c.now << ": " << MaxFlyers;
    }
    EXPECT_EXIT(CRender::Update(-0.0001), testing::ExitedWithCode(1), "Assert: time_interval_s > -EPSILON");
    CRender::Update(-0.00009);  // within the tolerance: no assertion
    ResetSceneState();
}
