#include "support/fake_clock.h"

namespace {
FakeClock* current = nullptr;

BOOL WINAPI FakeFrequency(LARGE_INTEGER* frequency)
{
    frequency->QuadPart = current->frequency;
    return current->frequency_result;
}

BOOL WINAPI FakeCounter(LARGE_INTEGER* count)
{
    count->QuadPart = current->counter;
    return current->counter_result;
}

DWORD WINAPI FakeMilliseconds() { return current->milliseconds; }
}  // namespace

FakeClock::FakeClock() : saved_(Clock)
{
    current = this;
    Clock = {FakeFrequency, FakeCounter, FakeMilliseconds};
}

FakeClock::~FakeClock()
{
    Clock = saved_;
    current = nullptr;
}
