// The program's one pseudo-random sequence: the classic linear congruential
// generator, with its arithmetic fixed here rather than taken from the C
// runtime, whose generators differ between platforms.
#pragma once

#include <cstdint>

// The process-wide seed; 1 at process start.
extern int32_t RandomSeed;

void Random_Seed(int32_t seed);

// Next value of the sequence, 0 to 32767.
int Random_Next();
