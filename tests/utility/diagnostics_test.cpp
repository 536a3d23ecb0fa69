// Assertions end the process with exit code 1 and say where they tripped; the
// trace channel of this (tracing) build writes formatted text.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "utility/diagnostics.h"

namespace {

// Stands in for the warning sound: it leaves a mark on standard error, which
// a death test can look for.
BOOL WINAPI MarkBeep(UINT type)
{
    std::fprintf(stderr, "[beep %u]", type);
    std::fflush(stderr);
    return TRUE;
}

class DiagnosticsDeathTest : public testing::Test {
protected:
    void SetUp() override
    {
        saved_ = Diagnostics;
        Diagnostics.MessageBeep = MarkBeep;
    }
    void TearDown() override { Diagnostics = saved_; }

private:
    DiagnosticsPlatform saved_;
};

TEST_F(DiagnosticsDeathTest, AssertMessageNamesFileLineAndExpression)
{
    // The beep follows the message: exclamation (0x30) after the text.
    EXPECT_EXIT(Assert("w > 0", "src/render.cpp", 112), testing::ExitedWithCode(1),
                "^src/render.cpp \\(112\\) Assert: w > 0\r?\n\\[beep 48\\]$");
}

TEST_F(DiagnosticsDeathTest, AssertMacroPassesTheConditionText)
{
    const int w = 0;
    EXPECT_EXIT(ASSERT(w > 0), testing::ExitedWithCode(1),
                "diagnostics_test.cpp \\(.+\\) Assert: w > 0\r?\n");
}

TEST_F(DiagnosticsDeathTest, MissingTextsEndWithoutTheWarningSound)
{
    EXPECT_EXIT(Assert(nullptr, "file.cpp", 1), testing::ExitedWithCode(1),
                "^Assert\\(\\) param error.\r?\n$");
    EXPECT_EXIT(Assert("x", nullptr, 1), testing::ExitedWithCode(1),
                "^Assert\\(\\) param error.\r?\n$");
    EXPECT_EXIT(Assert_Response(nullptr), testing::ExitedWithCode(1),
                "^Assert_Response\\(\\) param error.\r?\n$");
}

TEST_F(DiagnosticsDeathTest, PercentSignsInThePathAreText)
{
    EXPECT_EXIT(Assert("a != b", "dir%s%n%d/x.cpp", 7), testing::ExitedWithCode(1),
                "^dir%s%n%d/x.cpp \\(7\\) Assert: a != b\r?\n");
}

TEST_F(DiagnosticsDeathTest, OverlongMessageIsCutShortNotOverrun)
{
    const std::string path(2000, 'p');
    EXPECT_EXIT(Assert("x", path.c_str(), 1), testing::ExitedWithCode(1), "^p+\\[beep 48\\]$");
}

TEST_F(DiagnosticsDeathTest, AssertionsHoldOnlyWhenFalse)
{
    EXPECT_EXIT(
        {
            ASSERT(1 + 1 == 2);
            ASSERT(-0.00009 > -EPSILON);
            std::exit(7);
        },
        testing::ExitedWithCode(7), "");
    EXPECT_EXIT(ASSERT(-0.0001 > -EPSILON), testing::ExitedWithCode(1),
                "Assert: -0.0001 > -EPSILON");
}

std::string* recorded_trace = nullptr;
void RecordTrace(const char* text) { *recorded_trace += text; }

TEST(Trace, FormatsIntoTheTraceOutput)
{
    std::string text;
    recorded_trace = &text;
    const DiagnosticsPlatform saved = Diagnostics;
    Diagnostics.WriteTrace = RecordTrace;
    Trace("ScreenWidth = %d, ScreenHeight = %d\n", 640, 480);
    Trace("Sample framerate  = %5.2f fps\n", 29.5);
    Diagnostics = saved;
    EXPECT_EQ(text, "ScreenWidth = 640, ScreenHeight = 480\nSample framerate  = 29.50 fps\n");
}

}  // namespace
