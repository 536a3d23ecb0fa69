// In a build without the trace channel, Trace forms no text and writes
// nothing, while assertions still end the process.
#include <gtest/gtest.h>

#include "utility/diagnostics.h"

static int writes = 0;

TEST(ReleaseTrace, WritesNothing) {
    const DiagnosticsPlatform saved = Diagnostics;
    Diagnostics.WriteTrace = [](const char*) { ++writes; };
    Trace("%u frames rendered\n", 1234u);
    Diagnostics = saved;
    EXPECT_EQ(writes, 0);
    EXPECT_EXIT(Assert("x > 0", "f.cpp", 3), testing::ExitedWithCode(1), "^$");
}
