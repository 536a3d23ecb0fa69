#include "utility/random.h"

int32_t RandomSeed = 1;

void Random_Seed(int32_t seed) { RandomSeed = seed; }

int Random_Next()
{
    // The multiplication wraps modulo 2 to the 32nd; unsigned arithmetic keeps
    // that wrap well defined.
    RandomSeed = int32_t(uint32_t(RandomSeed) * 214013u + 2531011u);
    return (RandomSeed >> 16) & 0x7FFF;
}
