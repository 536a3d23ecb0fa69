// The random sequence and the draws built on it. Expected values come from
// tests/golden/derive_scene_values.py, which computes them in Python from the
// generator's rules, not from this code.
#include <gtest/gtest.h>

#include <vector>

#include "utility/diagnostics.h"
#include "utility/mathutil.h"
#include "utility/random.h"

namespace {

TEST(RandomNext, SequenceFromStartSeed)
{
    const std::vector<int> expected = {41,    18467, 6334,  26500, 19169, 15724, 11478, 29358,
                                       26962, 24464, 5705,  28145, 23281, 16827, 9961,  491,
                                       2995,  11942, 4827,  5436,  32391, 14604, 3902,  153};
    Random_Seed(1);
    EXPECT_EQ(Random_Next(), 41);
    EXPECT_EQ(RandomSeed, 2745024);
    Random_Seed(1);
    std::vector<int> drawn;
    for (size_t i = 0; i < expected.size(); ++i) drawn.push_back(Random_Next());
    EXPECT_EQ(drawn, expected);
}

TEST(RandomNext, NegativeAndLargeSeedsWrap)
{
    struct Case {
        int32_t seed;
        std::vector<int> values;
        int32_t seed_after;
    };
    const Case cases[] = {
        {-123456789, {19585, 21232, 28925, 7287, 31768, 7733, 32592, 9821}, 643667859},
        {1733500000, {13014, 21018, 16658, 22351, 20186, 20070, 7784, 32483}, -18614488},
    };
    for (const Case& c : cases) {
        Random_Seed(c.seed);
        std::vector<int> drawn;
        for (size_t i = 0; i < c.values.size(); ++i) drawn.push_back(Random_Next());
        EXPECT_EQ(drawn, c.values) << "seed " << c.seed;
        EXPECT_EQ(RandomSeed, c.seed_after) << "seed " << c.seed;
    }
}

TEST(RandomRange, ExactDraws)
{
    struct Case {
        int32_t seed;
        double lower, upper, expected;
    };
    const Case cases[] = {
        {1, -6, 6, -5.98498489333781},
        {7, -1, 1, -0.9962767418439283},
        {2745024, 30, 250, 153.98876918851283},
        {-99, -12, -2, -2.0866725669118313},
        {424242, 0, 1, 0.2800988799707022},
    };
    for (const Case& c : cases) {
        Random_Seed(c.seed);
        EXPECT_EQ(RandomRange(c.lower, c.upper), c.expected) << "seed " << c.seed;
    }
}

// Finds a seed whose next draw is `value`, by walking the sequence.
int32_t SeedBeforeDraw(int value)
{
    Random_Seed(1);
    for (;;) {
        const int32_t before = RandomSeed;
        if (Random_Next() == value) return before;
    }
}

TEST(RandomRange, EndsAndMiddleOfTheRange)
{
    struct Case {
        int draw;
        double lower, upper, expected, tolerance;
    };
    const Case cases[] = {
        {0, -6, 6, -6.0, 0.0},
        {32767, -6, 6, 6.0, 1e-12},
        {16383, -6, 6, -6.0 + 16383 * 12.0 / 32767.0, 1e-12},
        {12345, 5, 5, 5.0, 0.0},
    };
    for (const Case& c : cases) {
        Random_Seed(SeedBeforeDraw(c.draw));
        EXPECT_NEAR(RandomRange(c.lower, c.upper), c.expected, c.tolerance) << "draw " << c.draw;
    }
    // The middle draw lands just below zero, not on it.
    Random_Seed(SeedBeforeDraw(16383));
    const double middle = RandomRange(-6, 6);
    EXPECT_LT(middle, 0.0);
    EXPECT_NEAR(middle, -0.000183, 0.000001);
}

TEST(RandomRangeDeathTest, UpsideDownRangeEndsTheProcess)
{
    EXPECT_EXIT(RandomRange(1, 0), testing::ExitedWithCode(1), "upper - lower > -EPSILON");
    EXPECT_EXIT(RandomRange(0, -EPSILON), testing::ExitedWithCode(1),
                "upper - lower > -EPSILON");
}

TEST(RandomRange, RangeReversedByLessThanTheToleranceIsAccepted)
{
    Random_Seed(1);
    const double x = RandomRange(1, 1 - 0.00005);
    EXPECT_GT(x, 1 - 0.0001);
    EXPECT_LT(x, 1 + 0.0001);
}

TEST(Vector3, LengthAndAddition)
{
    EXPECT_EQ(Vector3(3, 4, 12).Length(), 13.0);
    EXPECT_EQ(Vector3().Length(), 0.0);
    Vector3 v(1, -2, 3);
    v += Vector3(0.5, 2, -4);
    EXPECT_EQ(v.x, 1.5);
    EXPECT_EQ(v.y, 0.0);
    EXPECT_EQ(v.z, -1.0);
    v.Set(-3, 0, 4);
    EXPECT_EQ(v.Length(), 5.0);
}

}  // namespace
