// In a build without the trace channel, Trace forms no text and writes nothing.
#include <gtest/gtest.h>

#include <string>

#include "utility/diagnostics.h"

namespace {

int writes = 0;
void CountWrite(const char*) { ++writes; }

TEST(ReleaseTrace, WritesNothing)
{
    const DiagnosticsPlatform saved = Diagnostics;
    Diagnostics.WriteTrace = CountWrite;
    Trace("%u frames rendered\n", 1234u);
    Trace("CRender::Init\n");
    Diagnostics = saved;
    EXPECT_EQ(writes, 0);
}

TEST(ReleaseTraceDeathTest, AssertStillEndsTheProcessSilently)
{
    EXPECT_EXIT(Assert("x > 0", "f.cpp", 3), testing::ExitedWithCode(1), "^$");
}

}  // namespace
