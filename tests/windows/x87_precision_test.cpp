// The x87's precision control: what the test programs start with (as the
// saver does), and sums whose last bit tells 53-bit from 64-bit rounding.
#include <gtest/gtest.h>

#include <float.h>

#include "platform/win32/x87_precision.h"

namespace {

unsigned PrecisionControl() { return _controlfp(0, 0) & _MCW_PC; }

// Kept in x87 registers within each expression, as the scene's arithmetic
// is; volatile so that the compiler folds nothing.
volatile double One = 1.0;
volatile double HalfUlp = 0x1p-53;

struct Sums {
    double twice_half_ulp;  // 1 + 2^-53 + 2^-53
    double lost_half_ulp;   // 1 + 2^-53 - 1
};

Sums Compute() { return {One + HalfUlp + HalfUlp, One + HalfUlp - One}; }

TEST(X87Precision, TestProgramsStartInDoublePrecision) { EXPECT_EQ(PrecisionControl(), unsigned(_PC_53)); }

TEST(X87Precision, SumsRoundAsDoublesOnlyInDoublePrecision)
{
    // The x87's own extended precision keeps the half unit in the last place.
    _controlfp(_PC_64, _MCW_PC);
    const Sums extended = Compute();
    UseDoublePrecision();
    const Sums doubles = Compute();

    EXPECT_EQ(PrecisionControl(), unsigned(_PC_53));
    EXPECT_EQ(extended.twice_half_ulp, 1.0 + 0x1p-52);
    EXPECT_EQ(extended.lost_half_ulp, 0x1p-53);
    // Ties to even at every step, as SSE2 and x86-64 round.
    EXPECT_EQ(doubles.twice_half_ulp, 1.0);
    EXPECT_EQ(doubles.lost_half_ulp, 0.0);
}

}  // namespace
