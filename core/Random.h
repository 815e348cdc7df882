#pragma once
#include <cstdint>

// Mersenne Twister (MT19937) state.
struct CRandomMT {
    uint32_t state[624];
    uint32_t index;
};

// Seed 0 takes the seed from the standard generator seeded with the tick count.
void RandomSeed(CRandomMT& random, uint32_t seed);
uint32_t RandomNext(CRandomMT& random);

// The standard library generator as the game expects it: a linear congruential generator
// with outputs 0..32767 (multiplier 214013, increment 2531011, bits 16..30).
void StdSrand(uint32_t seed);
int StdRand();

// Seeds the standard generator with the tick count and returns its next value (0..32767).
int RandomFromTickCount();

// A choice among n things from one output: (r x n) >> 32, always below n (0 for n = 0).
inline uint32_t RandomIndex(CRandomMT& random, uint32_t n)
{
    return static_cast<uint32_t>((uint64_t{RandomNext(random)} * n) >> 32);
}

// One output as a fraction in [0, 1): r x 2^-32.
inline double RandomFraction(CRandomMT& random)
{
    return RandomNext(random) * (1.0 / 4294967296.0);
}
