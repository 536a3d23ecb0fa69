// The entry of every Windows test program: the x87 set to double precision
// first, as the saver itself does, so that the tests compute what the saver
// computes. (Death tests run this entry again in their child process.)
#include <gtest/gtest.h>

#include "platform/win32/x87_precision.h"

int main(int argc, char** argv)
{
    UseDoublePrecision();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
