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
