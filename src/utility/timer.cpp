#include "utility/timer.h"

#include "platform/clock.h"
#include "utility/diagnostics.h"

LARGE_INTEGER Frequency;
int64_t StartCount;
int64_t PreviousCount;
int64_t SampleStartCount;

double FrameInterval;
uint32_t FrameCount;
uint32_t SampleFrameCount;
double AverageFrameRate;
double SampleFrameRate;

namespace {
// The shortest span over which the sample frame rate is measured.
constexpr double SAMPLE_WINDOW_S = 1.0;

double Seconds(int64_t ticks) { return double(ticks) / double(Frequency.QuadPart); }
}  // namespace

void Timer_Start()
{
    BOOL qpf_result = Clock.QueryPerformanceFrequency(&Frequency);
    ASSERT(qpf_result > 0);
    ASSERT(Frequency.QuadPart > 0);
    LARGE_INTEGER start;
    BOOL qpc_result = Clock.QueryPerformanceCounter(&start);
    ASSERT(qpc_result > 0);
    StartCount = start.QuadPart;
    PreviousCount = StartCount;
    SampleStartCount = StartCount;
}

void Timer_Frame()
{
    ++FrameCount;
    ++SampleFrameCount;
    LARGE_INTEGER now;
    BOOL qpc_result = Clock.QueryPerformanceCounter(&now);
    ASSERT(qpc_result > 0);

    FrameInterval = Seconds(now.QuadPart - PreviousCount);
    const double total = Seconds(now.QuadPart - StartCount);
    const double sample = Seconds(now.QuadPart - SampleStartCount);
    PreviousCount = now.QuadPart;

    if (total > 0) AverageFrameRate = FrameCount / total;
    if (sample >= SAMPLE_WINDOW_S) {
        SampleFrameRate = SampleFrameCount / sample;
        SampleFrameCount = 0;
        SampleStartCount = now.QuadPart;
    }
}
