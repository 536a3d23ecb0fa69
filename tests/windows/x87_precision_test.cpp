// The saver's x87 precision: sums whose last bit tells 53-bit rounding, as
// SSE2 and x86-64 round, from the x87's own 64-bit.
#include <gtest/gtest.h>

#include <float.h>

#include "platform/win32/x87_precision.h"

TEST(X87Precision, SumsRoundAsDoubles)
{
    volatile double one = 1.0, half_ulp = 0x1p-53;
    _controlfp(_PC_64, _MCW_PC);
    EXPECT_EQ(one + half_ulp + half_ulp, 1.0 + 0x1p-52);  // the sum is precision-sensitive
    UseDoublePrecision();
    EXPECT_EQ(one + half_ulp + half_ulp, 1.0);
    EXPECT_EQ(one + half_ulp - one, 0.0);
}
