// The spawn, motion and retirement of one flyer. The golden spawns come from
// tests/golden/derive_scene_values.py, written from the spawn's rules in
// Python, independently of this code, and are compared bit for bit: every
// build must draw exactly these flyers.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "flyer.h"
#include "support/scene_state.h"
#include "utility/random.h"
#include "utility/timer.h"

namespace {

struct Spawn {
    double px, py, pz, vx, vy, spin;
};

void ExpectSpawns(int32_t seed, double sample_rate, const std::vector<Spawn>& expected,
                  int32_t seed_after)
{
    ResetSceneState(seed);
    SampleFrameRate = sample_rate;
    int index = 0;
    for (const Spawn& e : expected) {
        SCOPED_TRACE(testing::Message() << "seed " << seed << ", flyer " << index++);
        const CFlyer f;
        EXPECT_EQ(f.position.x, e.px);
        EXPECT_EQ(f.position.y, e.py);
        EXPECT_EQ(f.position.z, e.pz);
        EXPECT_EQ(f.velocity.x, e.vx);
        EXPECT_EQ(f.velocity.y, e.vy);
        EXPECT_EQ(f.velocity.z, 0.0);
        EXPECT_EQ(f.angle, 0.0);
        EXPECT_EQ(f.spin, e.spin);
    }
    // Every draw was made, no more and no fewer.
    EXPECT_EQ(RandomSeed, seed_after);
}

TEST(FlyerSpawn, GoldenSpawnsBeforeTheFirstSample)
{
    // Depth is -12 while there is no frame-rate sample, though it is drawn.
    ExpectSpawns(1, 0.0,
                 {
                     {-13.39475692007197, -1.2771996215704835, -12.0, 0.6174810022278512, 0.1700186162907804, -135.57206946012758},
                     {12.572954496902403, -4.740562150944541, -12.0, -0.651783806878872, 0.717886898403882, 186.31031220435193},
                     {4.723541978209783, 12.590084536271295, -12.0, -0.271095919675283, -0.705374309518723, 66.49769585253456},
                     {13.393441572313614, -1.0783745841853083, -12.0, -0.9821771904660176, -0.24423963133640558, -146.96584978789636},
                     {-12.311578722495296, 5.370509964293334, -12.0, 0.32609027375103006, -0.09842219306009092, 107.46696371349223},
                     {0.2861445966978976, 13.421146275215985, -12.0, 0.03976561784722432, -0.3960997344889675, 222.71401104770044},
                 },
                 -586970421);
}

TEST(FlyerSpawn, GoldenSpawnsWithASample)
{
    ExpectSpawns(20261206, 25.0,
                 {
                     {-15.333491012298998, 7.476714377269795, -5.855708487197485, 0.7957090975676748, -0.564317758720664, 141.83629871517076},
                     {6.712149418622433, -15.751426740317966, -5.638721884823145, -0.20218512527848143, 0.8183538315988648, -177.74987029633473},
                     {11.835886715292839, -11.866246528519566, -6.573503830072939, -0.4423657948545793, 0.6697897274697104, -163.48246711630603},
                     {8.84898220770893, -11.490371410260304, -10.771019623401592, -0.2347178563798944, 0.8513138218329417, 210.31311990722372},
                     {-16.443641468550585, 7.135422833948745, -2.1159703360087896, 0.48667867061372716, -0.2737815485091708, 90.55421613208411},
                     {-9.36626789147621, -12.785152745139966, -8.617938779869991, 0.3324991607409895, 0.6256599627674184, -110.35401470992157},
                 },
                 -1978732952);
}

TEST(FlyerSpawn, SlowVelocityIsDrawnAgain)
{
    // Seed 96 draws a first velocity slower than 0.15 and redraws it.
    ExpectSpawns(96, 25.0,
                 {{-16.722211371196718, 6.461741996520859, -2.154118472853785, 0.728263191625721,
                   -0.2524185918759728, 120.04242072817163}},
                 [] {
                     // Seven draws for place, two velocities and spin, plus the sign.
                     Random_Seed(96);
                     for (int i = 0; i < 9; ++i) Random_Next();
                     return RandomSeed;
                 }());
}

TEST(FlyerSpawn, EveryFlyerStartsOnTheSphereHeadingInward)
{
    for (const double rate : {0.0, 25.0}) {
        ResetSceneState(7);
        SampleFrameRate = rate;
        for (int i = 0; i < 500; ++i) {
            const CFlyer f;
            const double speed = f.velocity.Length();
            const double distance = f.position.Length();
            ASSERT_GE(speed, 0.15);
            ASSERT_LE(speed, std::sqrt(2.0));
            ASSERT_GE(distance, 18.0);
            ASSERT_LE(distance, 18.0 + 0.1 * speed + 1e-12);
            ASSERT_LT(f.position.x * f.velocity.x + f.position.y * f.velocity.y, 0.0);
            ASSERT_GE(std::fabs(f.spin), 30.0);
            ASSERT_LE(std::fabs(f.spin), 250.0);
            if (rate == 0.0) {
                ASSERT_EQ(f.position.z, -12.0);
            } else {
                ASSERT_GE(f.position.z, -12.0);
                ASSERT_LE(f.position.z, -2.0);
            }
        }
    }
}

TEST(FlyerMotion, UpdateMovesAndSpins)
{
    ResetSceneState(3);
    CFlyer f;
    f.position.Set(1, 2, -5);
    f.velocity.Set(0.5, -0.25, 0);
    f.spin = -100;
    f.angle = 10;
    f.Update(0.5);
    EXPECT_DOUBLE_EQ(f.angle, -40.0);
    EXPECT_DOUBLE_EQ(f.position.x, 1.25);
    EXPECT_DOUBLE_EQ(f.position.y, 1.875);
    EXPECT_DOUBLE_EQ(f.position.z, -5.0);
    f.Update(0.0);
    EXPECT_DOUBLE_EQ(f.angle, -40.0);
    EXPECT_DOUBLE_EQ(f.position.x, 1.25);
    // The angle accumulates without wrapping.
    f.spin = 250;
    f.Update(4.0);
    EXPECT_DOUBLE_EQ(f.angle, 960.0);
}

TEST(FlyerMotion, RetiredOnlyBeyondRadiusTwenty)
{
    ResetSceneState(3);
    CFlyer f;
    struct Case {
        double x, y, z;
        bool out;
    };
    const Case cases[] = {
        {20.0, 0, 0, false}, {20.0001, 0, 0, true}, {0, -12, -16, false},
        {0, 12, -16.0001, true}, {19.99, 0, 0, false}, {-30, 0, 0, true},
    };
    for (const Case& c : cases) {
        f.position.Set(c.x, c.y, c.z);
        EXPECT_EQ(f.IsOutOfRange(), c.out) << c.x << ", " << c.y << ", " << c.z;
    }
}

}  // namespace
