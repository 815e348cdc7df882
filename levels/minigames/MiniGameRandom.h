#pragma once
#include <cstdint>

#include "core/Random.h"

// A choice among n: trunc(r x n x 2^-32) of the generator's next output.
inline uint32_t MiniGameRandomIndex(CRandomMT& random, uint32_t n)
{
    return static_cast<uint32_t>((uint64_t{RandomNext(random)} * n) >> 32);
}

// r x 2^-32 of the generator's next output.
inline float MiniGameRandomFraction(CRandomMT& random)
{
    return static_cast<float>(RandomNext(random) * 2.3283064365386963e-10);
}
